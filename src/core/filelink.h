// The file link of a card (field 10) as something the desktop can open.
#pragma once

#include <QString>
#include <QUrl>

// A text with a URL scheme (http:, https:, mailto:, file:) is that address;
// any other text is a local path, a relative one taken from currentFolder,
// as the shell takes it. An empty text is no target (an empty URL).
QUrl FileLinkTarget(const QString& text, const QString& currentFolder);
