#include "analysis/mds_structure.h"

#include <array>

#include "analysis/session_pooling.h"
#include "core/command_error.h"
#include "core/file_names.h"
#include "core/results_format.h"

namespace vork {
namespace {

// How interval data were sampled, by IntervalUnitMark 1..3.
constexpr std::array<const char*, 4> IntervalMethodNames = {"", "momentary", "partial", "whole"};

// Element i of names, or a clear failure naming what was looked up.
const std::string& Named(const dynString& names, int i, const char* what) {
  if (i < 0 || i >= int(names.size())) {
    throw CommandError("The compiled file names no " + std::string(what) + " " +
                       std::to_string(i) + ".");
  }
  return names[std::size_t(i)];
}

std::string TypeLine(const MdsHeader& header) {
  if (header.DataType < 1 || header.DataType > 5) {
    throw CommandError("The compiled file has an unknown data type " +
                       std::to_string(header.DataType) + ".");
  }
  std::string line = "Type:\t" + std::string(DataTypeNames[std::size_t(header.DataType)]);
  if (header.DataType == Interval) {
    if (header.IntervalUnitMark < 1 || header.IntervalUnitMark > 3) {
      throw CommandError("The compiled file has an unknown interval method " +
                         std::to_string(header.IntervalUnitMark) + ".");
    }
    line += "=\t" + std::to_string(header.IntervalDuration) + "\t" +
            IntervalMethodNames[std::size_t(header.IntervalUnitMark)];
  }
  return line;
}

void WriteCodes(const MdsHeader& header, dynString& results) {
  results.push_back("#Code=\t" + std::to_string(header.NCodes));
  if (header.NCodes <= 0) return;
  if (header.NDual > 0 || header.NSets > 0) {
    results.push_back("#Sets=\t" + std::to_string(header.NSets));
    results.push_back(std::string("Code:") + (header.NSets > 0 ? "\tSet:" : "") +
                      (header.NDual > 0 ? "\tDual:" : ""));
    for (int i = 1; i <= header.NCodes; ++i) {
      std::string line = Named(header.CodeNames, i, "code");
      if (header.NSets > 0) {
        int set = i < int(header.CodeSet.size()) ? header.CodeSet[std::size_t(i)] : -1;
        line += "\t" + Named(header.SetNames, set, "set");
      }
      if (header.NDual > 0) line += "\t" + Named(header.DualNames, i, "dual name of code");
      results.push_back(line);
    }
  } else {
    std::string line;
    for (int i = 1; i <= header.NCodes; ++i) {
      line += (i > 1 ? "\t" : "") + Named(header.CodeNames, i, "code");
    }
    results.push_back(line);
  }
}

const dynString& LevelNames(const MdsHeader& header, int f) {
  if (f >= int(header.FactorLevelNames.size())) {
    throw CommandError("The compiled file gives no levels of factor " + std::to_string(f) + ".");
  }
  return header.FactorLevelNames[std::size_t(f)];
}

void WriteFactors(const MdsHeader& header, dynString& results) {
  if (header.NFactors <= 0) return;
  results.push_back("");
  results.push_back("#Fctr=\t" + std::to_string(header.NFactors));
  results.push_back("Fctr:\t#Lvls:\tLevels:");
  for (int f = 1; f <= header.NFactors; ++f) {
    int levels = f < int(header.FactorLevels.size()) ? header.FactorLevels[std::size_t(f)] : 0;
    std::string line = Named(header.FactorNames, f, "factor") + "\t" + std::to_string(levels);
    for (int level = 1; level <= levels; ++level) {
      line += "\t" + Named(LevelNames(header, f), level, "level");
    }
    results.push_back(line);
  }
}

}  // namespace

void ShowMdsStructure(LinesView mdsLines, const MdsHeader& header,
                      const std::string& fileName, dynString& results) {
  WriteSeparatorLine(results);
  results.push_back(mdsLines.empty() ? std::string() : std::string(mdsLines[0]));
  std::string name = FileNameWithoutFolder(fileName);
  results.push_back("Path:\t" + fileName.substr(0, fileName.size() - name.size()));
  results.push_back("File:\t" + name);
  results.push_back(TypeLine(header));
  if (header.TimeUnitIndex < 0 || header.TimeUnitIndex > 3) {
    throw CommandError("The compiled file has an unknown time unit " +
                       std::to_string(header.TimeUnitIndex) + ".");
  }
  results.push_back("Units:\t" + std::string(TimeUnitPrefix[std::size_t(header.TimeUnitIndex)]) +
                    header.TimeUnitLabel);
  results.push_back("");
  WriteCodes(header, results);
  WriteFactors(header, results);

  results.push_back("");
  results.push_back("#Sesn=\t" + std::to_string(header.NSessions));
  results.push_back(std::string("#Sgmt:\tSesn:") + (header.NFactors > 0 ? "\tLevels:" : ""));
  int lineIndex = header.LineIndex;
  SessionValues session;
  for (int s = 1; s <= header.NSessions; ++s) {
    ReadSession(mdsLines, lineIndex, header, session);
    std::string line = std::to_string(session.NSegments) + "\t" + session.SessionLabel;
    for (int f = 1; f <= header.NFactors; ++f) {
      int level = f < int(session.SessionLevels.size()) ? session.SessionLevels[std::size_t(f)] : 0;
      line += "\t" + Named(LevelNames(header, f), level, "level");
    }
    results.push_back(line);
    SkipSegments(mdsLines, lineIndex, session);
  }
}

}  // namespace vork
