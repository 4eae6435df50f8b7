#include "FormGuide.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

std::filesystem::path GuideIndexPath(const std::filesystem::path& programFolder) {
    std::error_code ignored;
    const std::filesystem::path installed =
        programFolder / ".." / "share" / "doc" / "kvl-editor" / "guide" / "index.md";
    if (std::filesystem::is_regular_file(installed, ignored))
        return installed.lexically_normal();
    const std::filesystem::path source = std::filesystem::path(KVL_SOURCE_GUIDE) / "index.md";
    if (std::filesystem::is_regular_file(source, ignored))
        return source;
    return {};
}

TFormGuide::TFormGuide(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("FormGuide");
    setWindowTitle("Посібник користувача");
    resize(900, 700);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* back = new QPushButton("Назад", this);
    auto* forward = new QPushButton("Уперед", this);
    auto* home = new QPushButton("Зміст", this);
    back->setObjectName("ButtonBack");
    forward->setObjectName("ButtonForward");
    home->setObjectName("ButtonHome");
    back->setEnabled(false);
    forward->setEnabled(false);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(home);
    buttons->addStretch();
    layout->addLayout(buttons);
    Browser_ = new QTextBrowser(this);
    Browser_->setObjectName("GuideBrowser");
    // Links to the web go to the user's browser; links between pages stay here.
    Browser_->setOpenExternalLinks(true);
    layout->addWidget(Browser_);
    connect(back, &QPushButton::clicked, Browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, Browser_, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, Browser_, &QTextBrowser::home);
    connect(Browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(Browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(Browser_, &QTextBrowser::sourceChanged, this, &TFormGuide::FitPictures);
    Browser_->viewport()->installEventFilter(this);
}

void TFormGuide::FitPictures() {
    QTextDocument* document = Browser_->document();
    const int room = Browser_->viewport()->width() -
                     2 * static_cast<int>(document->documentMargin()) -
                     Browser_->verticalScrollBar()->sizeHint().width();
    if (room <= 0)
        return;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QString file = Browser_->source().resolved(QUrl(picture.name())).toLocalFile();
            if (file.isEmpty())
                continue;
            const QSize size = QImageReader(file).size();
            if (!size.isValid())
                continue;
            const int width = std::min(room, size.width());
            if (picture.width() == width)
                continue;
            picture.setWidth(width);
            picture.setHeight(static_cast<qreal>(width) * size.height() / size.width());
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
}

bool TFormGuide::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Browser_->viewport() && event->type() == QEvent::Resize)
        FitPictures();
    return QWidget::eventFilter(watched, event);
}

bool TFormGuide::ShowPage(const std::filesystem::path& page) {
    std::error_code ignored;
    if (page.empty() || !std::filesystem::is_regular_file(page, ignored))
        return false;
    Browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(page.string())),
                        QTextDocument::MarkdownResource);
    return true;
}
