#include "Recovery.h"

#include "Engine.h"
#include "EngineError.h"
#include "FileReplace.h"
#include "NetFile.h"

#include <QString>

#include <fstream>
#include <iterator>
#include <system_error>

TRecoveryFile::TRecoveryFile(const std::filesystem::path& folder)
    : NetPath_(folder / "KVLRecovery.kvl"), NamePath(folder / "KVLRecovery.name") {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    auto lock =
        std::make_unique<QLockFile>(QString::fromStdString((folder / "KVLRecovery.lock").string()));
    // A lock whose editor is gone is taken over; one held by a running editor is not.
    if (lock->tryLock(0))
        Lock = std::move(lock);
}

bool TRecoveryFile::IsLeft() const {
    std::error_code ignored;
    return IsOwned() && std::filesystem::exists(NetPath_, ignored);
}

void TRecoveryFile::Write(const TEngine& engine) {
    if (!IsOwned())
        return;
    try {
        const std::string text = NetText(engine.Net);
        ReplaceFile(NamePath, engine.FileName.string());
        ReplaceFile(NetPath_, text);
        Written = true;
    } catch (const TEngineError&) {
        // The next write tries again.
    }
}

void TRecoveryFile::Restore(TEngine& engine) const {
    std::ifstream in(NamePath, std::ios::binary);
    const std::string name((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LoadNet(engine, NetPath_);
    engine.FileName = std::filesystem::path(name);
}

void TRecoveryFile::Remove() {
    if (Written)
        Discard();
}

void TRecoveryFile::Discard() {
    if (!IsOwned())
        return;
    std::error_code ignored;
    std::filesystem::remove(NetPath_, ignored);
    std::filesystem::remove(NamePath, ignored);
    Written = false;
}

std::filesystem::path TRecoveryFile::SetAside() {
    const std::filesystem::path aside = NetPath_.parent_path() / "KVLRecovery-unreadable.kvl";
    std::error_code ignored;
    std::filesystem::rename(NetPath_, aside, ignored);
    std::filesystem::remove(NamePath, ignored);
    return aside;
}
