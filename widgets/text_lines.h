#pragma once

#include <QString>
#include <QStringList>

#include "core/dyn_arrays.h"

namespace vork {

// Window texts as the lines the engine's text files hold, and back.
dynString ToLines(const QStringList& lines);
QStringList FromLines(const dynString& lines);

// A file's name without its folder, as messages, captions and results show it.
QString NameWithoutFolder(const QString& fileName);

}  // namespace vork
