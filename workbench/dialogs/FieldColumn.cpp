#include "FieldColumn.h"

#include "VexaFieldControl.h"

#include <QLabel>

#include <QMetaObject>

namespace {
constexpr int Gap = 6;

// Each kind names its field's place after its field: text or combo.
void setDesign(VexaFieldControl *row, const char *text, const char *combo, int value)
{
    const char *name = row->metaObject()->indexOfProperty(text) >= 0 ? text : combo;
    row->setProperty(name, value);
}
} // namespace

int FieldColumn::align(const QList<VexaFieldControl *> &rows, int fieldWidth)
{
    int captions = 0;
    for (VexaFieldControl *row : rows) {
        if (!row->captionPart()->isHidden())
            captions = qMax(captions, row->captionPart()->sizeHint().width());
    }
    for (VexaFieldControl *row : rows) {
        setDesign(row, "lefttext", "leftcombo", captions + Gap);
        setDesign(row, "widthtext", "widthcombo", fieldWidth);
    }
    return captions + Gap;
}
