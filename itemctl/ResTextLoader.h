#pragma once

#include <QString>
#include <functional>

class QWidget;

// Puts the texts of a string table into a window and its controls. The ids
// sit in the design data:
// - the window's and any control's "Tag" property: its caption id (labels,
//   buttons, group boxes, menus and menu entries; "-" marks a separator);
// - a "ToolTipText" property holding an id: the tooltip (status bar panels);
// - a QTabWidget: each tab caption designed as the id in digits;
// - a QTabBar: each tab's data is the caption id, its tooltip the tooltip id;
// - a QToolBar: each action's tooltip designed as the id in digits;
// - a QTreeWidget: each header column's Qt::UserRole data is its text id.
// Framework display controls get their bound item name as tooltip
// ("ObjectNameText", then "ObjectNameCombo").
// Every single assignment is guarded: an id the lookup cannot resolve (it
// throws) leaves the design text in place and the walk goes on.
class ResTextLoader
{
public:
    using Lookup = std::function<QString(qint16)>;

    static void Apply(QWidget *window, const Lookup &lookup);
};
