#pragma once

#include <QString>

class IViewEx;

// Every dialog: it knows the view that opened it, looks its texts up by id
// and refreshes the framework's display controls on request.
class IVexaForm
{
public:
    virtual ~IVexaForm() = default;
    virtual IViewEx *viewRef() const = 0;
    virtual void setViewRef(IViewEx *view) = 0;
    virtual QString GetTextFromResource(qint16 &iTextID) const = 0;
    virtual void UpdateVexaControls() = 0;
};
