// The editor's undo history: every edit of the net a user makes becomes one step on an undo
// stack, as the journal of what it changed. Undo and redo replay the journals; the stack's clean
// state tells whether the net differs from the file it was loaded from or saved to.
#pragma once

#include "NetJournal.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QUndoStack;
struct TEngine;

class TEditHistory : public QObject {
    Q_OBJECT
public:
    explicit TEditHistory(TEngine& engine, QObject* parent = nullptr);

    QUndoStack* Stack() const { return Stack_; }

    // Called before every edit made through Make and before every undo and redo, so that a
    // gesture under way on the canvas ends first (the canvas sets it).
    std::function<void()> BeforeEdit;
    // Counts every change of the net through the history (edits, undos, redos, forgetting).
    std::uint64_t ChangeCount() const { return ChangeCount_; }

    // One user action: what its journal recorded becomes one undo step; an empty journal (the
    // action changed nothing) leaves the history as it was.
    void Commit(const QString& text, TNetJournal&& journal);
    // Makes an edit through a fresh journal and commits it.
    void Make(const QString& text, const std::function<void(TNetJournal&)>& edit);

    void Undo();
    void Redo();

    // A net loaded or started afresh: no steps, and nothing to save.
    void Forget();
    // The net now equals its file.
    void MarkSaved();
    // The net differs from its file in a way no step can take back (a net restored after a
    // crash): it stays modified until saved.
    void MarkUnsaved();
    bool IsModified() const;

signals:
    // The net changed by an edit, an undo or a redo: what lists the net's objects refreshes.
    void NetEdited();
    void ModifiedChanged(bool modified);

private:
    void StopRunIfTimeMoves(int index);

    TEngine& Engine;
    QUndoStack* Stack_;
    std::uint64_t ChangeCount_ = 0;
};
