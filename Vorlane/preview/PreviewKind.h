#pragma once

// What the preview shows of a document.
enum class PreviewKind
{
    // No document (an empty URL), or the first answer for it is still being made.
    nothing,
    // A still picture, fitted into the view.
    picture,
    // An animated picture, played.
    animation,
    // One page of a PDF document.
    pdfPage,
    // The start of a text file.
    text,
    // A large type icon with the document's name, size, modification date and kind.
    icon,
};
