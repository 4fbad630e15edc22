// What the probe reads of the graph window and sends to it: the scene, the view box, the angle
// labels and the segments as records, its picture saved, keys typed and controls pressed.
#pragma once

#include <QString>
#include <QStringList>

#include "graph/GraphWindow.h"

namespace gr {

// "SCENE vertices=<n> segments=<m>" with the counts of the last drawing.
QString SceneRecord();
// "VIEWBOX <xmin> <xmax> <ymin> <ymax> <zmin> <zmax>" in grid units.
QString ViewBoxRecord();
// "VIEW <rotation> <elevation>": the two angle labels of the window, whole degrees.
QString ViewRecord();
// One "SEG <row> <x1> <y1> <z1> <x2> <y2> <z2> <red> <green> <blue> <kind>" per segment drawn
// (rows 0 .. SegmentCountD - 1), world coordinates in grid units as printf %.10g writes them.
QStringList SegmentRecords();

// Saves the graph window's picture as a bitmap; false without a window or when it is not written.
bool SaveGraphPicture(const QString& path);

// Sends keys to the graph window as a user would press them, separated by blanks: "Left",
// "Right", "Up", "Down", "Esc", or a single character ("Z", "z", "S", ...). Unknown names are
// refused (false) before any key is sent; no window is also false.
bool SendGraphKeys(const QString& keys);

// Keys as a person types them, separated by blanks: the names SendGraphKeys takes and "Tab",
// "Return", "Backspace". They go to whichever control has the focus (the active window's focus
// control, else the graph window's), each to the control that has the focus when it is pressed.
// Unknown names are refused (false) before any key is sent.
bool TypeKeys(const QString& keys);
// Whether every name of a key list is one TypeKeys takes.
bool KeysKnown(const QString& keys);

// What pressing a control or menu item of the graph window (its windows included) by its object
// name did.
enum class PressResult { kPressed, kMissing, kDisabled };
// Clicks the button or triggers the menu item with this object name, as a user would: a control
// that is disabled or hidden is not pressed. Looks in the graph window (the set-up windows it owns
// included), then in the windows it opens that another window owns (display options, contour
// progress). Missing without a graph window.
PressResult PressGraphControl(const QString& objectName);

// The object name of the graph window's focus control ("" without a window or a focus control).
QString GraphFocusName();

}  // namespace gr
