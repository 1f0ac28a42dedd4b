#pragma once

#include "IVexaFrameworkControl.h"
#include "VexaUserCurveTable.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
class VexaItemBinding;

// The framework's user characteristic: the points of the device's user
// curve as a graph and as a table the user can edit. The points come from
// two octet items ("objectnamex", "objectnamey") and a point count
// ("objectnametabactno"); "objectnameusercurve" names the transfer function
// the curve belongs to (shown in the caption). An edit that keeps the inputs
// rising is written to the items at once; one that does not is refused.
class VexaUserCurve : public QWidget, public IVexaFrameworkControl
{
    Q_OBJECT
    Q_PROPERTY(QString objectnamex READ objectNameX WRITE setObjectNameX)
    Q_PROPERTY(QString objectnamey READ objectNameY WRITE setObjectNameY)
    Q_PROPERTY(QString objectnametabactno READ objectNameCount WRITE setObjectNameCount)
    Q_PROPERTY(QString objectnameusercurve READ objectNameType WRITE setObjectNameType)
    Q_PROPERTY(QString usercurvecaption READ caption WRITE setCaption)
    Q_PROPERTY(int tabminno READ minPoints WRITE setMinPoints)
    Q_PROPERTY(int tabmaxno READ maxPoints WRITE setMaxPoints)
    Q_PROPERTY(QString defaultendx READ defaultEndX WRITE setDefaultEndX)
    Q_PROPERTY(QString defaultendy READ defaultEndY WRITE setDefaultEndY)
    Q_PROPERTY(bool fixedstart READ fixedStart WRITE setFixedStart)
    Q_PROPERTY(bool fixedend READ fixedEnd WRITE setFixedEnd)
    Q_PROPERTY(bool hideaddbutton READ hideAddButton WRITE setHideAddButton)
    Q_PROPERTY(bool hideremovebutton READ hideRemoveButton WRITE setHideRemoveButton)
    Q_PROPERTY(bool hideresetbutton READ hideResetButton WRITE setHideResetButton)

public:
    explicit VexaUserCurve(QWidget *parent = nullptr);
    ~VexaUserCurve() override;

    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;
    void updateItems() override;

    QString objectNameX() const { return m_xName; }
    void setObjectNameX(const QString &name) { m_xName = name; }
    QString objectNameY() const { return m_yName; }
    void setObjectNameY(const QString &name) { m_yName = name; }
    QString objectNameCount() const { return m_countName; }
    void setObjectNameCount(const QString &name) { m_countName = name; }
    QString objectNameType() const { return m_typeName; }
    void setObjectNameType(const QString &name) { m_typeName = name; }
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    int minPoints() const { return m_minPoints; }
    void setMinPoints(int points) { m_minPoints = points; }
    int maxPoints() const { return m_maxPoints; }
    void setMaxPoints(int points) { m_maxPoints = points; }
    QString defaultEndX() const { return m_endX; }
    void setDefaultEndX(const QString &x) { m_endX = x; }
    QString defaultEndY() const { return m_endY; }
    void setDefaultEndY(const QString &y) { m_endY = y; }
    bool fixedStart() const { return m_fixedStart; }
    void setFixedStart(bool fixed) { m_fixedStart = fixed; }
    bool fixedEnd() const { return m_fixedEnd; }
    void setFixedEnd(bool fixed) { m_fixedEnd = fixed; }
    bool hideAddButton() const { return m_hideAdd; }
    void setHideAddButton(bool hide);
    bool hideRemoveButton() const { return m_hideRemove; }
    void setHideRemoveButton(bool hide);
    bool hideResetButton() const { return m_hideReset; }
    void setHideResetButton(bool hide);

    const VexaUserCurveTable &table() const { return m_table; }
    QTableWidget *tableWidget() const { return m_grid; }
    // The user's commands, also for tests.
    bool setPoint(int index, double x, double y);
    bool addPointAfter(int index);
    bool removePoint(int index);
    void resetToLinear();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void readItems();
    void writeItems();
    void fillGrid();
    void cellEdited(int row, int column);
    QRectF graphArea() const;

    VexaItemBinding *m_x;
    VexaItemBinding *m_y;
    VexaItemBinding *m_count;
    VexaItemBinding *m_type;
    QLabel *m_title;
    QTableWidget *m_grid;
    QPushButton *m_add;
    QPushButton *m_remove;
    QPushButton *m_reset;
    VexaUserCurveTable m_table;
    QString m_xName, m_yName, m_countName, m_typeName, m_caption;
    QString m_endX = QStringLiteral("100");
    QString m_endY = QStringLiteral("100");
    int m_minPoints = 2;
    int m_maxPoints = VexaUserCurveTable::MaxPoints;
    bool m_fixedStart = false;
    bool m_fixedEnd = false;
    bool m_hideAdd = false;
    bool m_hideRemove = false;
    bool m_hideReset = false;
    bool m_filling = false;
    bool m_writing = false;
};
