#include "ProductLinks.h"

namespace ProductLinks {

QUrl website()
{
    return QUrl(QStringLiteral("https://ostrel.com/vorlane"));
}

QUrl follow()
{
    return QUrl(QStringLiteral("https://ostrel.com/vorlane/news"));
}

QUrl feedback()
{
    return QUrl(QStringLiteral("https://ostrel.com/vorlane/feedback"));
}

} // namespace ProductLinks
