// The copy of an unsaved net that the editor keeps beside its settings while the net is
// modified, so that a crash or a killed session loses at most the last half minute of work. The
// first editor to start holds a lock on it; a second editor running at the same time keeps no
// copy, so that the two never overwrite each other's.
#pragma once

#include <QLockFile>

#include <filesystem>
#include <memory>

struct TEngine;

class TRecoveryFile {
public:
    // `folder` is where the settings file lives.
    explicit TRecoveryFile(const std::filesystem::path& folder);

    // Whether this editor keeps the copy (it holds the lock).
    bool IsOwned() const { return Lock != nullptr; }
    // A copy left behind by a session that did not end normally.
    bool IsLeft() const;
    // Writes the net and the name of its file; failures are dropped (the copy is a safety net,
    // and the next write tries again).
    void Write(const TEngine& engine);
    // Loads the copy in place of the net; FileName becomes the file the net came from (empty
    // for a net never saved). Throws TEngineError when the copy cannot be read.
    void Restore(TEngine& engine) const;
    // Removes the copy this session wrote; a copy left by a crashed session stays until the
    // user has answered the offer.
    void Remove();
    // Removes the copy whoever wrote it (the user declined the offer).
    void Discard();
    // Moves a copy that cannot be read out of the way, keeping it for the user; returns where.
    std::filesystem::path SetAside();

    const std::filesystem::path& NetPath() const { return NetPath_; }

private:
    std::filesystem::path NetPath_;
    std::filesystem::path NamePath;
    std::unique_ptr<QLockFile> Lock;
    bool Written = false;
};
