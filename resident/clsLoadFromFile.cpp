#include "clsLoadFromFile.h"

#include "Applet.h"

void clsLoadFromFile::fileOperation(Applet &applet)
{
    applet.fncLoadFromFile();
}
