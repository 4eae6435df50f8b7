#include "FileReplace.h"

#include "EngineError.h"
#include "MessageText.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void FailSave(const std::filesystem::path& path, int error) {
    throw TEngineError("Не вдалося зберегти файл «" + path.string() +
                       "»: " + SystemErrorText(error));
}

// The text of a symbolic link, or nothing when `path` is not one.
std::optional<std::string> LinkText(const std::filesystem::path& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return std::nullopt;
    std::string text(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1,
                     '\0');
    const ssize_t length = readlink(path.c_str(), text.data(), text.size());
    if (length < 0 || static_cast<std::size_t>(length) >= text.size())
        return std::nullopt;
    text.resize(static_cast<std::size_t>(length));
    return text;
}

} // namespace

std::filesystem::path FinalTarget(const std::filesystem::path& path) {
    // The same bound on a chain of links as the kernel's.
    constexpr int kMaxLinks = 40;
    std::filesystem::path target = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        const auto text = LinkText(target);
        if (!text)
            return target;
        const std::filesystem::path next = *text;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    FailSave(path, ELOOP);
}

bool IsWriteProtected(int accessResult, int accessError) {
    return accessResult != 0 && accessError == EACCES;
}

void ReplaceFile(const std::filesystem::path& path, const std::string& text) {
    // Renaming over a link would put a plain file in its place; the new text goes to the file the
    // link names, which a dangling link thereby creates.
    const std::filesystem::path target = FinalTarget(path);

    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists) {
        const int result = access(target.c_str(), W_OK);
        if (IsWriteProtected(result, errno))
            throw TEngineError("Файл «" + target.string() +
                               "» захищено від запису, його не можна перезаписати");
    }

    // A file with several hard links is replaced by renaming as well, which leaves the other
    // names with the old text. Writing it in place would keep the links, but a failure half way
    // (a full disk, a crash) would then destroy the old text with no copy of it left; keeping the
    // old file whole matters more.
    std::string temporary = target.string() + ".tmp-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        FailSave(path, errno);

    if (exists) {
        // Keep the owner and group of the file being replaced where the user may set them (root
        // may; others may keep a group they belong to); the permissions are set after, as a
        // change of owner clears the set-user and set-group bits.
        if (fchown(fd, existing.st_uid, existing.st_gid) != 0 &&
            fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
            // Neither can be kept: the file becomes the saver's, as any new file would.
        }
        fchmod(fd, existing.st_mode & 07777);
    } else {
        // A new file gets the usual 0666 less umask.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }

    auto failAfterOpen = [&](int error) {
        close(fd);
        unlink(temporary.c_str());
        FailSave(path, error);
    };
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failAfterOpen(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0)
        failAfterOpen(errno);
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        FailSave(path, error);
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        FailSave(path, error);
    }
}
