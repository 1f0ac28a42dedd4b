#pragma once

#include "mainwin/clsVexaForm.h"

// What the display windows share beyond the dialog frame: their caption
// from the string table and which parts of their placement they keep (the
// position always; the width and the height as each window wants).
class DisplayWindow : public clsVexaForm
{
    Q_OBJECT

public:
    struct Placement
    {
        bool width = false;
        bool height = false;
    };

    static constexpr int Margin = 6;

protected:
    DisplayWindow(const char *name, qint16 captionId, Placement placement, QWidget *parent);

    void FormLoad() override;
    void FormUnload() override;
    // Twips of the design data in pixels on the window's screen.
    int pixels(int twips) const;

private:
    Placement m_placement;
};
