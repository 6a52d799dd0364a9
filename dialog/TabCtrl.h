#pragma once

#include <QWidget>

class QTabBar;

// A classic tab control: a row of tabs over a framed display area. The pages are not its
// children: their owner places them over DisplayArea() and shows the current one, so it decides
// what a change of tab means.
//
// Only the user's clicks report SelectionChanged; inserting, removing and selecting tabs from
// code never do (Qt's tab bar would report each of them).
class CTabCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CTabCtrl(QWidget* parent = nullptr);

    int Count() const;
    void InsertItem(int index, const QString& text);
    void SetItemText(int index, const QString& text);
    QString ItemText(int index) const;
    void DeleteItem(int index);
    int CurSel() const;
    void SetCurSel(int index);
    // The area under the tabs inside the frame, in this control's coordinates.
    QRect DisplayArea() const;
    QTabBar* Bar() const { return m_bar; }

signals:
    void SelectionChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int BarHeight() const;

    QTabBar* m_bar;
};
