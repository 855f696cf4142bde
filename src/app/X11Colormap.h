// Under X11, the program's windows take the screen's own colormap rather than one of Qt's making.
#pragma once

class QApplication;

// From here on every window of the screen's default visual that the application makes is given the
// screen's default colormap. Qt gives its windows a colormap of their own, which tools that read
// the screen window by window (xwd, ImageMagick's import) take for another colour space: they read
// a box that lies within the main window through the main window, whose covered part the server
// returns black. Does nothing on other window systems. True when the windows will be changed.
bool UseScreenColormapOnX11(QApplication& app);
