#pragma once

#include <QUrl>

// One change of a watched file, as the monitor reports it.
struct FileChange
{
    QUrl url;
    // Its contents were written and its writer may still hold it open, with more to come.
    // Anything else (created, closed after writing, renamed, removed) is a finished change.
    bool writing = false;

    bool operator==(const FileChange&) const = default;
};
