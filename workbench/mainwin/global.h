#pragma once

#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>

class QWidget;

// Shared routines of the program's windows: the busy state, the per-user
// window placement, pictures and the always-on-top state.

// The main window that EnableMainWindow switches (it registers itself).
void SetMainWindow(QWidget *mainWindow);
QWidget *MainWindow();

// Busy state: false disables the main window (and with it every child
// window) and shows the busy pointer; true undoes both.
void EnableMainWindow(bool enable);

// The window's object name, "_" and its current caption: placements are kept
// per caption, so per user-interface language.
QString WindowSettingKey(QWidget *window);

// Reads the stored position (and size when asked) and keeps the window
// clear of the right and lower part of the main window.
void RestoreWindowPlacement(QWidget *window, bool withWidth, bool withHeight);
// Stores the position (and size when asked), unless the window is minimized.
void SaveWindowPlacement(QWidget *window, bool withWidth, bool withHeight);

// The main window's own placement: "MainLeft", "MainTop", "MainWidth" and
// "MainHeight" in twips, the window's inside without the frame the window
// manager adds (what is restored is what was stored, frame or not). With
// nothing stored: two thirds of the screen, centred. Restored before the
// window first shows, always on a visible screen; not saved while minimized,
// the normal placement saved while maximized.
void RestoreMainWindowPlacement(QWidget *mainWindow);
void SaveMainWindowPlacement(QWidget *mainWindow);

// The wanted rectangle moved (and made smaller where it must) into the free
// area of the screen it overlaps most; on none of them: centred on the first.
QRect FitOnScreen(const QRect &wanted, const QList<QRect> &screenAreas);
// Two thirds of the area, at least the size the window asks for to show its
// menus, toolbar and status panels whole (as far as the area goes), centred.
QRect DefaultMainPlacement(const QRect &screenArea, const QSize &wanted = QSize());
// Before a top-level window first shows: centred over the main window and
// wholly on the screen.
void PlaceOnScreen(QWidget *window);

// The placement rule in screen units: margins are given in twips and turned
// into pixels with pixelsPerTwip (1.0 keeps everything in twips).
QRect ClampPlacement(const QRect &stored, const QSize &mainWindow, double pixelsPerTwip);

// One of the program's pictures, by Qt resource path; null when missing.
QPixmap LoadJpegResource(const QString &resourcePath);
// The picture scaled to cover the size, keeping its aspect ratio: a drawing
// (SVG) is drawn at that size instead of drawn large and scaled down.
QPixmap LoadJpegResource(const QString &resourcePath, const QSize &cover);

// Puts a window into or out of the always-on-top band without moving,
// resizing or activating it.
void SetTopMost(QWidget *window, bool on);
