#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "core/dyn_arrays.h"

namespace vork {

// Window texts as the lines the engine's text files hold, and back.
dynString ToLines(const QStringList& lines);
QStringList FromLines(const dynString& lines);

// A file's name without its folder, as messages, captions and results show it.
QString NameWithoutFolder(const QString& fileName);

// The font of a text window: family at size, or a fixed-pitch font where
// the family is not installed, so that columns of codes stay aligned.
QFont TextWindowFont(const QString& family, int pointSize);

}  // namespace vork
