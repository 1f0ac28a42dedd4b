#include "clsSaveToFile.h"

#include "Applet.h"

void clsSaveToFile::fileOperation(Applet &applet)
{
    applet.fncSave(0);
}
