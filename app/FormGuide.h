// The user's guide: its Markdown pages, shown in a window of their own with links between the
// pages and back and forward buttons.
#pragma once

#include <QWidget>

#include <filesystem>

class QTextBrowser;

// The first page of the guide: the installed copy (share/doc/kvl-editor/guide beside the
// program's bin folder) or, for a program run from its build folder, the copy in the source
// tree. Empty when neither is there.
std::filesystem::path GuideIndexPath(const std::filesystem::path& programFolder);

class TFormGuide : public QWidget {
    Q_OBJECT
public:
    explicit TFormGuide(QWidget* parent = nullptr);
    // Shows the page; false when the file is not there.
    bool ShowPage(const std::filesystem::path& page);
    QTextBrowser* Browser() const { return Browser_; }

private:
    QTextBrowser* Browser_ = nullptr;
};
