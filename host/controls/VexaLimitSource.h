#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class AppletItemManager;
class VexaItemBinding;

// A display limit as its property gives it: a value written as text
// ("3.6", used as it is) or the name of the item that holds it (bound and
// read). An empty text is no limit.
class VexaLimitSource : public QObject
{
    Q_OBJECT

public:
    explicit VexaLimitSource(QObject *parent = nullptr);
    ~VexaLimitSource() override;

    void setText(const QString &text) { m_text = text; }
    const QString &text() const { return m_text; }

    void bind(const std::shared_ptr<AppletItemManager> &manager);
    void unbind();
    std::optional<double> value() const;

    // The text as a number, if it is one.
    static std::optional<double> number(const QString &text);

Q_SIGNALS:
    void changed();

private:
    QString m_text;
    VexaItemBinding *m_item;
};
