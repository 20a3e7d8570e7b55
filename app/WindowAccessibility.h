#pragma once

// Screen readers learn what a widget is from its accessible interface. Qt gives a plain QWidget the
// role of a client area ("filler" to AT-SPI) even when it is a window of its own, so the recording
// window, the viewer and the MR window were not announced as windows. Installed once, this reports
// every such top-level widget as a window, named by its title; dialogs and the main window keep the
// interfaces Qt gives them.
namespace WindowAccessibility {

void install();

} // namespace WindowAccessibility
