#pragma once

#include "QuickHash.h"

#include <QString>

// A hash of a string's characters for std::unordered_map, for the tables filled and looked up
// once per document. Qt's own qHash takes its AES path on processors that have one, and on
// those with 256-bit AES instructions a call costs several times what the rest of a look-up
// does (over ten times for keys under 16 bytes).
struct StringHash
{
    std::size_t operator()(const QString& text) const noexcept
    {
        return QuickHash::of(text.constData(),
                             static_cast<std::size_t>(text.size()) * sizeof(QChar));
    }
};
