#pragma once

#include <QString>

#include <optional>

class QScreen;
class QWidget;

// Window placement: centring on the main display and a remembered frame per display, kept in
// the application's settings under "NSWindow Frame " and the display's number.
//
// The main display is the one the user works on: the screen with the pointer, else the screen
// of the window with the keyboard focus, else the primary screen.

QScreen* mainScreen();

// Puts a saved frame for the main display on the window, moved and if need be shrunk into the
// display's available area; false when there is none to apply (or it lies off the display).
bool restoreFrameForScreen(QWidget* window);
// Saves the window's frame for the display it is on (the one holding the largest part of it).
void saveFrameForScreen(QWidget* window);
// Centres the window on the main display's whole area at the given size (or its current one);
// the origin is rounded to whole points, halves away from zero.
void centerOnMainScreen(QWidget* window, bool animate, std::optional<int> width = std::nullopt,
                        std::optional<int> height = std::nullopt);

// A display's number: a stable hash of its identity (maker, model and serial number, else its
// output name, else its size). Empty without a display.
std::optional<quint32> screenNumber(const QScreen* screen);
// The settings key of a display's frame.
QString frameKey(quint32 number);
