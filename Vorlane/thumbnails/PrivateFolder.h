#pragma once

#include <QString>

// Folders only their owner may enter, as the thumbnail standard asks of the cache's folders.
class PrivateFolder
{
public:
    // Creates every missing folder of the absolute path with mode 0700; existing folders keep
    // their mode. True when the path is a folder afterwards.
    static bool make(const QString& absolutePath);
};
