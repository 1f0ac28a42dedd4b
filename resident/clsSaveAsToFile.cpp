#include "clsSaveAsToFile.h"

#include "Applet.h"

void clsSaveAsToFile::fileOperation(Applet &applet)
{
    applet.fncSaveAsToFile();
}
