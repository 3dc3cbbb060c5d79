#pragma once

#include "server/HttpReply.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The service's own page for browsers, compiled in from web/ as the
// resources ":/web/...":
//   /                   the page
//   /web/...            its style, modules and icon
//   /web/texts/LANG.json  the page's texts in "ja" or "en", from the
//                       program's translation (WebTexts)
// None of it holds data, so none of it needs a token: what the page shows
// it asks the API for, with the user's token. Its answers carry a policy
// that lets the page run its own modules and nothing else: no inline script,
// no handler in an attribute, no eval, nothing from another origin.
namespace WebPage {

inline constexpr const char* SecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' blob:; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

// The answer for a path outside /api/, given as its decoded segments.
HttpReply answer(const QByteArray& method, const QStringList& segments);

} // namespace WebPage

// The texts of the page. The page is written with the program's Japanese
// texts; this table says which of the program's translations each comes
// from (the window's, where the page says the same, else the page's own),
// so that the page and the window speak alike.
namespace WebTexts {

// {"lang": "en", "texts": {JAPANESE: TEXT, ...}} for "ja" or "en".
QJsonObject texts(const QString& language);

} // namespace WebTexts
