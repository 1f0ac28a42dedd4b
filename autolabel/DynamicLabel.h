#pragma once

#include <QVariantMap>
#include <QWidget>

class QLabel;

// A label of one or more lines (lines end in "\r\n") that chooses its font
// size so that the longest line fills the control's width; its height then
// follows from the font size and the number of lines, and a changed height is
// told to the container through Resize(). Lengths are in twips (1/1440 inch)
// at the screen's resolution, font sizes in points.
//
// The design data is kept under "Caption", "ForeColor", "BackColor",
// "Alignment" and "FontSize"; every setter marks its key changed.
class DynamicLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(qint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(qint16 Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(float FontSize READ FontSize WRITE setFontSize)

public:
    // The stored alignment codes.
    enum AlignmentCode : qint16
    {
        LeftJustify = 0,
        RightJustify = 1,
        Center = 2,
    };

    static constexpr const char *DesignCaption = "123,345";

    explicit DynamicLabel(QWidget *parent = nullptr);
    ~DynamicLabel() override;

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 colour);
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 colour);
    qint16 Alignment() const { return m_alignment; }
    void setAlignment(qint16 alignment);
    float FontSize() const { return m_fontSize; }
    // Changes the label until the next sizing; does not size.
    void setFontSize(float points);

    // Width and height in twips in one step; the resize runs the sizing.
    Q_INVOKABLE void Size(float Width, float Height);

    // The container's design data: read in the order of the keys above
    // (missing keys take their defaults) and written back.
    void ReadProperties(const QVariantMap &bag);
    void WriteProperties(QVariantMap &bag) const;

    // Twips per pixel at the resolution of the control's screen.
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    // The last height told through Resize, in twips.
    qint32 lastReportedHeight() const { return m_lastHeight; }
    QLabel *label() const { return m_label; }

Q_SIGNALS:
    // The label's height changed with a sizing.
    void Resize();
    // A design property was set (its key).
    void PropertyChanged(const QString &key);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void runSizing();
    void applyFont(double points);
    void applyColours();
    void showCaption();

    QLabel *m_label;
    QString m_caption;
    qint32 m_foreColor;
    qint32 m_backColor;
    qint16 m_alignment = Center;
    float m_fontSize = 0.0f;
    qint32 m_lastHeight = 0;
    bool m_resizing = false;
};
