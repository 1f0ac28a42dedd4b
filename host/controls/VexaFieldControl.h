#pragma once

#include "IVexaFrameworkControl.h"
#include "VexaControlLayout.h"

#include <QWidget>
#include <memory>

class QLabel;
class VexaItemBinding;

// What the framework's label, text and combo controls share: a caption from
// the string table ("labeltextid", else the design caption "captionlabel"),
// a field bound to one item, and a unit (the enumeration text of the item
// named by "objectnameunit", else the fixed text "caption"), laid out by the
// design properties. The field item and its placement belong to each kind.
class VexaFieldControl : public QWidget, public IVexaFrameworkControl
{
    Q_OBJECT
    Q_PROPERTY(int labeltextid READ labelTextId WRITE setLabelTextId)
    Q_PROPERTY(QString captionlabel READ captionLabel WRITE setCaptionLabel)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString objectnameunit READ objectNameUnit WRITE setObjectNameUnit)
    Q_PROPERTY(QString ObjectNameUnit READ objectNameUnit WRITE setObjectNameUnit)
    Q_PROPERTY(int leftspace READ leftSpace WRITE setLeftSpace)
    Q_PROPERTY(int rightspace READ rightSpace WRITE setRightSpace)
    Q_PROPERTY(int widthcontrol READ widthControl WRITE setWidthControl)
    Q_PROPERTY(bool visibleunit READ visibleUnit WRITE setVisibleUnit)
    Q_PROPERTY(int cycletimetext READ cycleTimeText WRITE setCycleTimeText)

public:
    ~VexaFieldControl() override;

    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;
    void updateItems() override;
    bool isRegistered() const { return m_registered; }

    int labelTextId() const { return m_labelTextId; }
    void setLabelTextId(int id);
    const QString &captionLabel() const { return m_captionLabel; }
    void setCaptionLabel(const QString &text);
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &text);
    const QString &objectNameUnit() const { return m_unitItem; }
    void setObjectNameUnit(const QString &name) { m_unitItem = name; }
    int leftSpace() const { return m_leftSpace; }
    void setLeftSpace(int pixels);
    int rightSpace() const { return m_rightSpace; }
    void setRightSpace(int pixels);
    int widthControl() const { return m_widthControl; }
    void setWidthControl(int pixels);
    bool visibleUnit() const { return m_visibleUnit; }
    void setVisibleUnit(bool visible);
    int cycleTimeText() const { return m_cycleTime; }
    void setCycleTimeText(int seconds) { m_cycleTime = seconds; }

    // The caption as shown: looked up again, for a language set after design.
    QString labelText() const;
    QString unitText() const;
    void retranslate();

    QLabel *captionPart() const { return m_label; }
    QWidget *fieldPart() const { return m_field; }
    QLabel *unitPart() const { return m_unit; }
    VexaItemBinding &fieldBinding() const { return *m_fieldBinding; }
    VexaRowGeometry rowGeometry() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    VexaFieldControl(QWidget *field, QWidget *parent);

    const QString &fieldItem() const { return m_fieldItem; }
    void setFieldItem(const QString &name) { m_fieldItem = name; }
    int fieldLeft() const { return m_fieldLeft; }
    void setFieldLeft(int pixels);
    int fieldWidth() const { return m_fieldWidth; }
    void setFieldWidth(int pixels);
    // The subject of a refused entry: the caption, else the item's name.
    QString subject() const;

    virtual void bindField(const std::shared_ptr<AppletItemManager> &manager);
    virtual void unbindField() {}
    virtual void showField() = 0;
    virtual void commitField() {}

    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showUnit();
    void relayout();
    VexaRowDesign rowDesign(int width, int height) const;

    QLabel *m_label;
    QWidget *m_field;
    QLabel *m_unit;
    VexaItemBinding *m_fieldBinding;
    VexaItemBinding *m_unitBinding;
    bool m_registered = false;

    int m_labelTextId = 0;
    QString m_captionLabel;
    QString m_caption;
    QString m_fieldItem;
    QString m_unitItem;
    int m_leftSpace = 0;
    int m_rightSpace = 0;
    int m_widthControl = 0;
    int m_fieldLeft = 0;
    int m_fieldWidth = 0;
    bool m_visibleUnit = true;
    int m_cycleTime = 0;
};
