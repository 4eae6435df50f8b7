// "Файл" -> "Експорт" -> "Рисунок сітки": the questions, the file written in the format its name
// asks for, and the failures.
#include "Engine.h"
#include "ExportFile.h"
#include "FormMain.h"
#include "MainWindowFixture.h"
#include "NetObjects.h"
#include "NetPictureDialog.h"
#include "ShownMainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ExportNetPictureTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        PreviousChoose = ChooseExportFile;
        PreviousAsk = AskNetPictureChoice;
        ChooseExportFile = [this](QWidget*, const QString& caption, const QString& filter,
                                  const QString&) {
            ++Chosen;
            EXPECT_EQ(caption, QString("Рисунок сітки"));
            EXPECT_EQ(filter,
                      QString("Рисунок PNG (*.png);;Рисунок SVG (*.svg);;Документ PDF (*.pdf)"));
            return Target;
        };
        AskNetPictureChoice = [this](QWidget*) { return Answer; };
    }
    void TearDown() override {
        ChooseExportFile = PreviousChoose;
        AskNetPictureChoice = PreviousAsk;
        MainWindowFixture::TearDown();
    }
    void AddObjects() {
        TVertex* v = CreateVertex(Engine.Net, "P1", 1, -500, 0, &Engine.Graph.Options);
        TTransition* t = CreateTransition(Engine.Net, "T1", 500, 1, 0, &Engine.Graph.Options);
        CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
    }
    void Export(TFormMain& form) { form.Action("ButtonExportNetPicture")->trigger(); }
    QString InFolder(const char* name) { return QString::fromStdString((Folder / name).string()); }

    std::optional<TNetPictureChoice> Answer = TNetPictureChoice{TPictureExtent::VisiblePart, 2};
    QString Target;
    int Chosen = 0;
    decltype(ChooseExportFile) PreviousChoose;
    decltype(AskNetPictureChoice) PreviousAsk;
};

TEST_F(ExportNetPictureTest, WritesTheFormatTheNameAsksFor) {
    auto form = ShownMainWindow(Engine);
    AddObjects();
    Target = InFolder("net"); // no extension: a PNG
    Export(*form);
    const QImage png(InFolder("net.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(2 * Engine.Graph.ScreenWidth, 2 * Engine.Graph.ScreenHeight));

    Target = InFolder("net.SVG");
    Answer = TNetPictureChoice{TPictureExtent::WholeNet, 1};
    Export(*form);
    EXPECT_TRUE(QString::fromStdString(ReadBytes(Folder / "net.SVG")).contains("<svg"));

    Target = InFolder("net.pdf");
    Export(*form);
    EXPECT_EQ(ReadBytes(Folder / "net.pdf").substr(0, 4), "%PDF");
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join("\n").toStdString();
}

TEST_F(ExportNetPictureTest, CancelledQuestionsWriteNothing) {
    auto form = ShownMainWindow(Engine);
    Export(*form); // an empty net: said so, nothing asked
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains("порожня"));
    EXPECT_EQ(Chosen, 0);

    AddObjects();
    Answer = std::nullopt;
    Export(*form);
    EXPECT_EQ(Chosen, 0);
    Answer = TNetPictureChoice{};
    Target.clear(); // the save dialog cancelled
    Export(*form);
    EXPECT_EQ(Chosen, 1);
    for (const auto& entry : std::filesystem::directory_iterator(Folder.Path()))
        EXPECT_NE(entry.path().extension(), ".png") << entry.path();
    EXPECT_EQ(Messages.size(), 1);
}

TEST_F(ExportNetPictureTest, FailedWriteSaysWhyAndKeepsWhatWasThere) {
    auto form = ShownMainWindow(Engine);
    AddObjects();
    Target = InFolder("no such folder/net.png");
    Export(*form);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains("net.png"));
    EXPECT_FALSE(std::filesystem::exists(Folder / "no such folder"));

    // A folder of that name cannot be replaced by the picture; it stays with what it holds.
    std::filesystem::create_directory(Folder / "old.png");
    WriteBytes(Folder / "old.png" / "inside.txt", "kept");
    Target = InFolder("old.png");
    Export(*form);
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_EQ(ReadBytes(Folder / "old.png" / "inside.txt"), "kept");

    // A PNG too large to make is refused before anything is written.
    WriteBytes(Folder / "big.png", "old");
    Target = InFolder("big.png");
    Answer = TNetPictureChoice{TPictureExtent::WholeNet, 10};
    CreateVertex(Engine.Net, "far", 0, 60000, 0, &Engine.Graph.Options);
    Export(*form);
    ASSERT_EQ(Messages.size(), 3);
    EXPECT_TRUE(Messages[2].contains("завеликий"));
    EXPECT_EQ(ReadBytes(Folder / "big.png"), "old");
}

TEST(NetPictureDialog, ReadsTheScaleInEitherAlphabetAndWithEitherSeparator) {
    EXPECT_EQ(ParsePictureScale("2x"), 2);
    EXPECT_EQ(ParsePictureScale(" 3х "), 3); // Cyrillic letter
    EXPECT_EQ(ParsePictureScale("1,5"), 1.5);
    EXPECT_EQ(ParsePictureScale("2.5×"), 2.5);
    for (const char* bad : {"", "x", "abc", "0", "-2", "11", "nan", "2xx"})
        EXPECT_FALSE(ParsePictureScale(bad)) << bad;
}

TEST(NetPictureDialog, EnterAcceptsEscapeCancelsAndABadScaleKeepsItOpen) {
    std::vector<QString> messages;
    const auto previous = ShowMessageBox;
    ShowMessageBox = [&](QWidget*, const QString& text) { messages.push_back(text); };
    {
        TNetPictureDialog dialog(nullptr);
        EXPECT_EQ(dialog.Choice()->Extent, TPictureExtent::WholeNet);
        EXPECT_EQ(dialog.Choice()->PngScale, 1);
        dialog.VisiblePart()->setChecked(true);
        dialog.Scale()->setCurrentText("3x");
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_EQ(dialog.Choice()->Extent, TPictureExtent::VisiblePart);
        EXPECT_EQ(dialog.Choice()->PngScale, 3);
    }
    {
        TNetPictureDialog dialog(nullptr);
        dialog.Scale()->setCurrentText("два");
        dialog.show();
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(messages.size(), 1u);
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    }
    ShowMessageBox = previous;
}

} // namespace
