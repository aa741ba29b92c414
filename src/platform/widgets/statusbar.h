#pragma once

#include <QColor>
#include <QJsonObject>
#include <QWidget>
#include <vector>

class QSizeGrip;
class StatusPanel;

// The main window's status bar: numbered panels (1 first) laid out left to right with
// their widths in pixels, a size gripper at the right end. Meant to lie along the bottom
// edge of its parent (setAlignBottom). Bad panel numbers throw db::Error 35600.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    // The persisted design keys: numberofpanels, pwidthN, ptextN, ptttextN, penabledN,
    // panelpictureN (a resource path), maskcolor, backcolor, forecolor,
    // forecolordissabled, showgripper. Keys not given keep their present value.
    void applySettings(const QJsonObject &settings);

    int panelCount() const { return int(m_panels.size()); }
    void setPanelCount(int count);

    void setPanelText(int n, const QString &text);
    QString panelText(int n) const;
    void setPanelWidth(int n, int width);
    int panelWidth(int n) const;
    void setPanelToolTip(int n, const QString &text);
    QString panelToolTip(int n) const;
    void setPanelEnabled(int n, bool enabled);
    bool isPanelEnabled(int n) const;
    // Pixels of the mask colour become transparent in a picture without alpha.
    void setPanelPicture(int n, const QPixmap &picture);
    QPixmap panelPicture(int n) const;

    void setMaskColor(const QColor &c) { m_maskColor = c; }
    QColor maskColor() const { return m_maskColor; }
    void setBackColor(const QColor &c);
    QColor backColor() const { return m_backColor; }
    void setForeColor(const QColor &c);
    QColor foreColor() const { return m_foreColor; }
    void setDisabledForeColor(const QColor &c);
    QColor disabledForeColor() const { return m_disabledForeColor; }
    void setGripperShown(bool shown);
    bool isGripperShown() const { return m_gripperShown; }

    // Keeps the bar at the bottom of its parent, as wide as the parent.
    void setAlignBottom(bool on);
    bool alignBottom() const { return m_alignBottom; }

    // Panel n's place in the bar's coordinates, and its widget.
    QRect panelRect(int n) const;
    StatusPanel *panel(int n) const;

    QSize sizeHint() const override;

signals:
    void panelClick(int n);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    StatusPanel *checked(int n) const;
    void layoutPanels();
    void applyColors(StatusPanel *panel) const;
    void followParent();

    std::vector<StatusPanel *> m_panels;
    std::vector<int> m_widths;
    QSizeGrip *m_gripper = nullptr;
    QColor m_maskColor;
    QColor m_backColor;
    QColor m_foreColor;
    QColor m_disabledForeColor;
    bool m_gripperShown = true;
    bool m_alignBottom = false;
};
