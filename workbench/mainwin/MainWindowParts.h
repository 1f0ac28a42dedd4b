#pragma once

#include <functional>

class frmMain;

// Parts of the main window that live in their own files (the device summary
// dock). Each is made with the window, as its child, so that the window's
// item handler binds the part's item controls with its own; a part plugs in
// from its file:
//   namespace {
//   const MainWindowParts::Registration part([](frmMain &main) { new Part(main); });
//   }
class MainWindowParts
{
public:
    using Maker = std::function<void(frmMain &main)>;

    // Makes every registered part for the window, in the order registered.
    static void makeAll(frmMain &main);

    class Registration
    {
    public:
        explicit Registration(Maker maker);
        ~Registration();
        Registration(const Registration &) = delete;
        Registration &operator=(const Registration &) = delete;

    private:
        int m_id;
    };
};
