#include "EditHistory.h"

#include "Engine.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace {

// One step of the history: the journal of one user action. The action was made as it was
// recorded, so the stack's first call of redo, on pushing, has nothing left to do.
class TNetEditCommand : public QUndoCommand {
public:
    TNetEditCommand(TEngine& engine, const QString& text, TNetJournal&& journal)
        : QUndoCommand(text), Engine(engine), Journal(std::move(journal)) {}

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
    emit NetEdited();
}

void TEditHistory::Make(const QString& text, const std::function<void(TNetJournal&)>& edit) {
    TNetJournal journal;
    edit(journal);
    Commit(text, std::move(journal));
}

void TEditHistory::Undo() {
    if (!Stack_->canUndo())
        return;
    Stack_->undo();
    emit NetEdited();
}

void TEditHistory::Redo() {
    if (!Stack_->canRedo())
        return;
    Stack_->redo();
    emit NetEdited();
}

// The stack reports every change of its clean state through cleanChanged.
void TEditHistory::Forget() {
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
