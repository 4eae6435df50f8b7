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

protected:
    // Refits the pictures whenever the page's width changes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Pictures wider than the page are drawn at the page's width, so that a screenshot of the
    // whole screen fits without scrolling sideways.
    void FitPictures();

    QTextBrowser* Browser_ = nullptr;
};
