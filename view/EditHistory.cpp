#include "EditHistory.h"

#include "Engine.h"
#include "RunControl.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace {

// One step of the history: the journal of one user action. The action was made as it was
// recorded, so the stack's first call of redo, on pushing, has nothing left to do.
class TNetEditCommand : public QUndoCommand {
public:
    TNetEditCommand(TEngine& engine, const QString& text, TNetJournal&& journal)
        : QUndoCommand(text), Engine(engine), Journal(std::move(journal)) {}

    const TNetJournal& Edits() const { return Journal; }
    void undo() override { Journal.Undo(Engine); }
    void redo() override {
        if (Made) {
            Made = false;
            return;
        }
        Journal.Redo(Engine);
    }

private:
    TEngine& Engine;
    TNetJournal Journal;
    bool Made = true;
};

} // namespace

TEditHistory::TEditHistory(TEngine& engine, QObject* parent)
    : QObject(parent), Engine(engine), Stack_(new QUndoStack(this)) {
    connect(Stack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit ModifiedChanged(!clean); });
}

void TEditHistory::Commit(const QString& text, TNetJournal&& journal) {
    if (journal.Empty())
        return;
    Stack_->push(new TNetEditCommand(Engine, text, std::move(journal)));
    ++ChangeCount_;
    emit NetEdited();
}

void TEditHistory::Make(const QString& text, const std::function<void(TNetJournal&)>& edit) {
    if (BeforeEdit)
        BeforeEdit();
    TNetJournal journal;
    try {
        edit(journal);
    } catch (...) {
        // What the edit did before it failed stays recorded, so that it can still be undone.
        Commit(text, std::move(journal));
        throw;
    }
    Commit(text, std::move(journal));
}

// A step that sets the model time back or forth (clearing the net) would leave a run going on
// from another time than it reached: the run stops first, as clearing itself stops it.
void TEditHistory::StopRunIfTimeMoves(int index) {
    const auto* command = dynamic_cast<const TNetEditCommand*>(Stack_->command(index));
    if (command != nullptr && command->Edits().ChangesModelTime() && Engine.RunMode != rmStopped)
        StopRun(Engine);
}

void TEditHistory::Undo() {
    if (BeforeEdit)
        BeforeEdit();
    if (!Stack_->canUndo())
        return;
    StopRunIfTimeMoves(Stack_->index() - 1);
    Stack_->undo();
    ++ChangeCount_;
    emit NetEdited();
}

void TEditHistory::Redo() {
    if (BeforeEdit)
        BeforeEdit();
    if (!Stack_->canRedo())
        return;
    StopRunIfTimeMoves(Stack_->index());
    Stack_->redo();
    ++ChangeCount_;
    emit NetEdited();
}

// The stack reports every change of its clean state through cleanChanged.
void TEditHistory::Forget() {
    ++ChangeCount_;
    Stack_->clear();
    Stack_->setClean();
}

void TEditHistory::MarkSaved() {
    Stack_->setClean();
}

void TEditHistory::MarkUnsaved() {
    Stack_->resetClean();
}

bool TEditHistory::IsModified() const {
    return !Stack_->isClean();
}
