#pragma once

#include "ResStringTable.h"

#include <QString>

// A design text in the user's language, for captions whose id the string
// table does not hold (the id then keeps the design text).
inline QString DesignText(const char *english, const char *german)
{
    return QString::fromUtf8(ResStringTable::userLanguageId() == ResStringTable::German ? german
                                                                                        : english);
}
