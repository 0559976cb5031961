#pragma once

#include <QString>

namespace HotKeys {

// The recorder's own table of user-visible texts, looked up by key.
class Localization
{
public:
    // The text of the key in the application's language (English without a translation); the
    // key itself when the table lacks it.
    static QString string(const char* key);
};

} // namespace HotKeys
