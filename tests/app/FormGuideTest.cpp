// The user's guide opens from "Довідка" and its links lead from page to page.
#include "FormGuide.h"
#include "FormMain.h"
#include "MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <gmock/gmock.h>

namespace {

using ::testing::HasSubstr;

class FormGuideTest : public MainWindowFixture {};

TEST_F(FormGuideTest, HelpMenuOpensTheGuideAndItsLinksWork) {
    TFormMain form(Engine);
    form.Action("ButtonGuide")->trigger();
    ASSERT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
    TFormGuide* guide = form.FormGuide();
    ASSERT_TRUE(guide->isVisible());
    QTextBrowser* browser = guide->Browser();
    EXPECT_THAT(browser->toPlainText().toStdString(), HasSubstr("Посібник користувача"));
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("index.md"));

    // The screenshot on the first page is drawn at the page's width, not its own 1400 pixels.
    bool pictureFound = false;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QTextImageFormat picture = it.fragment().charFormat().toImageFormat();
                pictureFound = true;
                EXPECT_GT(picture.width(), 0);
                EXPECT_LE(picture.width(), browser->viewport()->width());
            }
    EXPECT_TRUE(pictureFound);

    // Every page the contents link to opens as Markdown, and back leads to the contents.
    const QString contents = browser->toMarkdown();
    QStringList pages;
    for (const auto& match : QRegularExpression(R"(\]\(([a-z0-9-]+\.md)\))").globalMatch(contents))
        pages << match.captured(1);
    ASSERT_GE(pages.size(), 5);
    for (const QString& page : pages) {
        browser->setSource(browser->source().resolved(QUrl(page)));
        EXPECT_TRUE(browser->source().toLocalFile().endsWith(page));
        EXPECT_FALSE(browser->toPlainText().isEmpty()) << page.toStdString();
        EXPECT_FALSE(browser->toPlainText().startsWith('#')) << page.toStdString(); // rendered
        guide->findChild<QPushButton*>("ButtonBack")->click();
        EXPECT_TRUE(browser->source().toLocalFile().endsWith("index.md"));
    }
}

TEST(GuideIndexPath, PrefersTheInstalledGuide) {
    TTempFolder prefix;
    const auto guide = prefix / "share/doc/kvl-editor/guide";
    std::filesystem::create_directories(guide);
    std::filesystem::create_directories(prefix / "bin");
    // Without an installed copy, the source tree's guide.
    EXPECT_EQ(GuideIndexPath(prefix / "bin").filename(), "index.md");
    EXPECT_NE(GuideIndexPath(prefix / "bin"), guide / "index.md");
    WriteBytes(guide / "index.md", "# Посібник\n");
    EXPECT_EQ(GuideIndexPath(prefix / "bin"), guide / "index.md");
}

} // namespace
