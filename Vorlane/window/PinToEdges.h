#pragma once

#include <array>

class QWidget;

// Makes child fill container, with offsets from its top, trailing, bottom and leading edges.
void pinToEdges(QWidget* child, QWidget* container, const std::array<int, 4>& offsets);
