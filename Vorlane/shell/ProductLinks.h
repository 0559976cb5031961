#pragma once

#include <QUrl>

// Vorlane's own pages, opened in the browser from the tray menu and the About window.
namespace ProductLinks {

// The product's web site.
QUrl website();
// Where Vorlane's news are posted, to follow the product.
QUrl follow();
// The feedback form.
QUrl feedback();

} // namespace ProductLinks
