// The editor's undo history: every edit of the net a user makes becomes one step on an undo
// stack, as the journal of what it changed. Undo and redo replay the journals; the stack's clean
// state tells whether the net differs from the file it was loaded from or saved to.
#pragma once

#include "NetJournal.h"

#include <QObject>
#include <QString>

#include <functional>

class QUndoStack;
struct TEngine;

class TEditHistory : public QObject {
    Q_OBJECT
public:
    explicit TEditHistory(TEngine& engine, QObject* parent = nullptr);

    QUndoStack* Stack() const { return Stack_; }

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
    TEngine& Engine;
    QUndoStack* Stack_;
};
