#include "FileReplace.h"

#include "EngineError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void FailSave(const std::filesystem::path& path, int error) {
    throw TEngineError("Не вдалося зберегти файл «" + path.string() +
                       "»: " + std::error_code(error, std::generic_category()).message());
}

} // namespace

void ReplaceFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::path target = path;
    std::error_code ignored;
    if (std::filesystem::is_symlink(target, ignored))
        target = std::filesystem::weakly_canonical(target, ignored);

    std::string temporary = target.string() + ".tmp-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        FailSave(path, errno);

    // Keep the permissions of the file being replaced; a new file gets the usual 0666 less umask.
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        fchmod(fd, existing.st_mode & 07777);
    } else {
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
