#pragma once

#include <QtGlobal>

// Names one thumbnail request so that it can be cancelled; 0 names none.
using ThumbnailTicket = quint64;
