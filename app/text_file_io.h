#pragma once

#include <QString>
#include <QStringList>

namespace vork {

// Reads a whole text file; line breaks become "\n". Throws CommandError
// naming the file when it cannot be read.
QString LoadTextFile(const QString& fileName);

// Writes text as the file's whole content. The new text is written beside
// the file and replaces it only once complete, so a failed save leaves the
// old file whole. Throws CommandError naming the file on failure.
void SaveTextFile(const QString& fileName, const QString& text);

// Adds lines, each followed by a line break, after the file's old content
// (a new file when there is none), replacing the file as SaveTextFile does.
void AppendLinesToFile(const QString& fileName, const QStringList& lines);

}  // namespace vork
