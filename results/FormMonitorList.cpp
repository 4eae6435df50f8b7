#include "FormMonitorList.h"

#include "EditHistory.h"
#include "Engine.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "Picking.h"
#include "TextCodec.h"

#include <QCheckBox>
#include <QMenu>
#include <QPainter>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The three tree icons: the net, a vertex and a transition.
QIcon TreeIcon(int image) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.4));
    if (image == 0) {
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(1.5, 5.5, 6, 6));
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(11, 3, 2, 10));
        p.drawLine(QPointF(7.5, 8.5), QPointF(11, 8.5));
    } else if (image == 1) {
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    } else {
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(6.5, 1.5, 3, 13));
    }
    return QIcon(pixmap);
}

// A node of the tree; a node that names an object of the net keeps its kind code as its data.
QTreeWidgetItem* Node(QTreeWidgetItem* parent, const QString& text, int image, TObjectRef object) {
    auto* item = new QTreeWidgetItem(parent, {text});
    item->setIcon(0, TreeIcon(image));
    if (object)
        item->setData(0, Qt::UserRole, static_cast<int>(object.Kind()));
    return item;
}

bool CarriesObject(const QTreeWidgetItem* item) {
    return item != nullptr && item->data(0, Qt::UserRole).isValid();
}

} // namespace

TFormMonitorList::TFormMonitorList(TEngine& engine, TEditHistory& history, QWidget* parent)
    : TToolWindow("FormMonitorList", "Список об'єктів сітки", 185, 170, parent), Engine(engine),
      History(history) {
    setMinimumWidth(142);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(this);
    CBoxMonitoredOnly_ = new QCheckBox("Об'єкти моніторингу", bar);
    CBoxMonitoredOnly_->setObjectName("CBoxMonitoredOnly");
    CBoxMonitoredOnly_->setChecked(true);
    bar->addWidget(CBoxMonitoredOnly_);
    layout->addWidget(bar);
    Tree_ = new QTreeWidget(this);
    Tree_->setObjectName("Tree");
    Tree_->setHeaderHidden(true);
    Tree_->setIndentation(19);
    Tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette palette = Tree_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    Tree_->setPalette(palette);
    layout->addWidget(Tree_);

    PopupTree_ = new QMenu(this);
    PopupTree_->setObjectName("PopupTree");
    QAction* remove = PopupTree_->addAction("Видалити об'єкт зі списку моніторингу");
    remove->setObjectName("ButtonRemoveFromMonitoring");
    PopupTree_->addSeparator();
    QAction* clear = PopupTree_->addAction("Очистити список моніторингу");
    clear->setObjectName("ButtonClearMonitoring");
    connect(remove, &QAction::triggered, this, &TFormMonitorList::RemoveFromMonitoringClick);
    connect(clear, &QAction::triggered, this, &TFormMonitorList::ClearMonitoringClick);
    Tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Tree_, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupTree_->popup(Tree_->viewport()->mapToGlobal(at)); });
    connect(CBoxMonitoredOnly_, &QCheckBox::clicked, this, &TFormMonitorList::FillMonitorTree);
    connect(Tree_, &QTreeWidget::itemSelectionChanged, this, &TFormMonitorList::SelectionChanged);
}

void TFormMonitorList::FillMonitorTree() {
    bool rootOpen = true, verticesOpen = true, transitionsOpen = true;
    if (Tree_->topLevelItemCount() > 0 && VertexGroup != nullptr && TransitionGroup != nullptr) {
        rootOpen = Tree_->topLevelItem(0)->isExpanded();
        verticesOpen = VertexGroup->isExpanded();
        transitionsOpen = TransitionGroup->isExpanded();
    }
    Filling = true;
    Tree_->clear();
    auto* root = new QTreeWidgetItem(Tree_, {"Об'єкти сітки"});
    root->setIcon(0, TreeIcon(0));
    const bool onlyMonitored = CBoxMonitoredOnly_->isChecked();
    VertexGroup = Node(root, "Вершини", 1, {});
    for (auto& v : Engine.Net.Vertices)
        if (!onlyMonitored || v->IsMonitoring)
            Node(VertexGroup, QString::fromStdString(Win1251ToUtf8(v->Name)), 1, v.get());
    TransitionGroup = Node(root, "Переходи", 2, {});
    for (auto& t : Engine.Net.Transitions)
        if (!onlyMonitored || t->IsMonitoring)
            Node(TransitionGroup, QString::fromStdString(Win1251ToUtf8(t->Name)), 2, t.get());
    root->setExpanded(rootOpen);
    VertexGroup->setExpanded(verticesOpen);
    TransitionGroup->setExpanded(transitionsOpen);
    Filling = false;
}

void TFormMonitorList::SelectionChanged() {
    if (Filling)
        return;
    const QList<QTreeWidgetItem*> selected = Tree_->selectedItems();
    if (selected.isEmpty() || !CarriesObject(selected[0]))
        return;
    const std::string name = Utf8ToWin1251(selected[0]->text(0).toStdString());
    if (const std::int32_t v = FindVertex(Engine.Net, name); v >= 0)
        ChooseObject(Engine, Engine.Net.Vertices[v].get(), TSelectMode::Replace);
    else if (const std::int32_t t = FindTransition(Engine.Net, name); t >= 0)
        ChooseObject(Engine, Engine.Net.Transitions[t].get(), TSelectMode::Replace);
}

namespace {

template <typename Object> void StopMonitoringOf(TNetJournal& journal, TEngine& e, Object& object) {
    if (object.IsMonitoring)
        ChangeFields<Object>(journal, e, object, [](Object& o) { o.IsMonitoring = false; });
}

} // namespace

void TFormMonitorList::RemoveFromMonitoringClick() {
    QTreeWidgetItem* item = Tree_->currentItem();
    if (!CarriesObject(item))
        return;
    const std::string name = Utf8ToWin1251(item->text(0).toStdString());
    History.Make("Зміна моніторингу", [&](TNetJournal& j) {
        if (const std::int32_t v = FindVertex(Engine.Net, name); v >= 0)
            StopMonitoringOf(j, Engine, *Engine.Net.Vertices[v]);
        else if (const std::int32_t t = FindTransition(Engine.Net, name); t >= 0)
            StopMonitoringOf(j, Engine, *Engine.Net.Transitions[t]);
    });
    FillMonitorTree();
}

void TFormMonitorList::ClearMonitoringClick() {
    History.Make("Зміна моніторингу", [&](TNetJournal& j) {
        for (auto& v : Engine.Net.Vertices)
            StopMonitoringOf(j, Engine, *v);
        for (auto& t : Engine.Net.Transitions)
            StopMonitoringOf(j, Engine, *t);
    });
    FillMonitorTree();
}

void TFormMonitorList::showEvent(QShowEvent* event) {
    FillMonitorTree();
    TToolWindow::showEvent(event);
}
