#include "TabCtrl.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {

// Space between the frame and the display area, in pixels.
constexpr int kFrameMargin = 2;

}  // namespace

CTabCtrl::CTabCtrl(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)) {
    m_bar->setExpanding(false);
    m_bar->setDrawBase(false);
    m_bar->setUsesScrollButtons(true);
    connect(m_bar, &QTabBar::currentChanged, this, [this] { emit SelectionChanged(); });
}

int CTabCtrl::Count() const {
    return m_bar->count();
}

void CTabCtrl::InsertItem(int index, const QString& text) {
    const QSignalBlocker quiet(m_bar);
    m_bar->insertTab(index, text);
    update();
}

void CTabCtrl::SetItemText(int index, const QString& text) {
    m_bar->setTabText(index, text);
}

QString CTabCtrl::ItemText(int index) const {
    return m_bar->tabText(index);
}

void CTabCtrl::DeleteItem(int index) {
    const QSignalBlocker quiet(m_bar);
    m_bar->removeTab(index);
}

int CTabCtrl::CurSel() const {
    return m_bar->currentIndex();
}

void CTabCtrl::SetCurSel(int index) {
    const QSignalBlocker quiet(m_bar);
    m_bar->setCurrentIndex(index);
}

int CTabCtrl::BarHeight() const {
    return m_bar->sizeHint().height();
}

QRect CTabCtrl::DisplayArea() const {
    const int top = BarHeight();
    return QRect(0, top, width(), height() - top)
        .adjusted(kFrameMargin, kFrameMargin, -kFrameMargin, -kFrameMargin);
}

void CTabCtrl::resizeEvent(QResizeEvent*) {
    m_bar->setGeometry(0, 0, width(), BarHeight());
}

void CTabCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int top = BarHeight() - 1;
    frame.rect = QRect(0, top, width(), height() - top);
    frame.tabBarSize = m_bar->size();
    frame.shape = QTabBar::RoundedNorth;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
