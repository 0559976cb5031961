#pragma once

// Counts of what the thumbnail service did since it started or was last reset; for tests,
// benchmarks and diagnostics.
struct ThumbnailStatistics
{
    int requests = 0;        // every request, joined or not
    int generations = 0;     // work items started on the pool
    int joined = 0;          // requests that joined a generation already in flight
    int cancelled = 0;       // generations dropped before they ran: nobody wanted them
    int memoryConfirmed = 0; // in-memory thumbnails found still current, nothing made
    int sharedCacheHits = 0; // valid thumbnails read from the desktop's shared cache
    int rendered = 0;        // thumbnails rendered by us
    int renderFailures = 0;  // renderers tried that made nothing
    int delivered = 0;       // completions called
};
