#include "agreement/agreement_output.h"

#include <algorithm>
#include <charconv>

#include "core/command_error.h"
#include "core/kappa.h"
#include "core/plot_symbols.h"
#include "core/results_format.h"

namespace vork {

namespace {

constexpr int TimeLabelWidth = 10;

std::string FormatPercent(double pct) { return std::to_string(RoundHalfEven(pct)) + "%"; }

// One row of a block of the matrix: its symbol, the counts of the block's
// columns and, in the block that ends with the totals, the code's kappa and
// name.
void WriteMatrixRow(dynString& lines, const AgreementWriter& writer, const dynInteger2& matrix,
                    const dynReal& indKappa, int row, const std::vector<int>& columns, bool lastBlock) {
  const PickedCodeTables& codes = writer.Codes;
  std::string line = codes.Symbols[row];
  for (int column : columns) line.append("\t").append(std::to_string(matrix[row][column]));
  if (lastBlock) {
    if (row >= 1 && row <= codes.OthersIndex()) {
      const double kappa = static_cast<size_t>(row) < indKappa.size() ? indKappa[row] : 0.0;
      line.append("\t").append(FormatKappaValue(kappa, writer.NDigits, writer.Format));
    } else {
      line += "\t";
    }
    line.append("\t").append(codes.Names[row]);
  }
  lines.push_back(std::move(line));
}

void CheckMatrix(const dynInteger2& matrix, int k) {
  const size_t size = static_cast<size_t>(k) + 3;
  if (matrix.size() != size) throw CommandError("The agreement matrix does not fit the picked codes.");
  for (const dynInteger& row : matrix) {
    if (row.size() != size) throw CommandError("The agreement matrix does not fit the picked codes.");
  }
}

}  // namespace

PickedCodeTables MakePickedCodeTables(const dynString& picked, const dynString& markers) {
  PickedCodeTables codes;
  codes.K = static_cast<int>(picked.size());
  codes.Names = {"nil"};
  codes.Symbols = {"-"};
  for (int i = 1; i <= codes.K; ++i) {
    codes.Names.push_back(picked[i - 1]);
    const std::string symbol =
        static_cast<size_t>(i) <= markers.size() ? FirstCharacter(markers[i - 1]) : std::string();
    codes.Symbols.push_back(symbol.empty() ? std::string(1, static_cast<char>('A' + (i - 1) % 26)) : symbol);
  }
  codes.Names.insert(codes.Names.end(), {"& (all others)", "Totals"});
  codes.Symbols.insert(codes.Symbols.end(), {"&", "Totals"});
  return codes;
}

int AgreementLineLength(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) value = 0;
  if (value < 10) return 60;
  if (value > 200) return 120;
  return value;
}

std::string FormatKappaValue(double value, int nDigits, const NumberFormat& format) {
  std::string text = FormatFixed(value, nDigits, format);
  if (!text.empty() && text[0] == '0') text.erase(0, 1);
  return text;
}

void WriteAgreementHeading(dynString& lines, const ObserverReader& obs1, const ObserverReader& obs2) {
  const SessionValues& session1 = obs1.Session;
  const SessionValues& session2 = obs2.Session;
  std::string heading = "Agreement <" + session1.SessionLabel + ">";
  if (session1.NSegments > 1) heading += " sgmt#" + std::to_string(obs1.SegmentNumber);
  if (session1.SessionLabel != session2.SessionLabel) heading += " <" + session2.SessionLabel + ">";
  if (session1.NSegments != session2.NSegments) heading += " sgmt#" + std::to_string(obs2.SegmentNumber);
  lines.push_back(std::move(heading));
  lines.emplace_back();
}

void AppendTimeLabel(std::string& line, std::uint32_t& plotStart, bool& longLabel, const AgreementWriter& writer) {
  // The label is written in place, then padded or taken back.
  const size_t start = line.size();
  AppendTime(line, plotStart, writer.TimeFormat, writer.TimeUnitIndex);
  const size_t length = line.size() - start;
  if (length < TimeLabelWidth) {
    line.append(TimeLabelWidth - length, ' ');
    longLabel = false;
  } else if (!longLabel) {
    if (length < 2 * TimeLabelWidth) line.append(2 * TimeLabelWidth - length, ' ');
    longLabel = true;
  } else {
    line.resize(start);
    longLabel = false;  // the previous label covers these columns
  }
  plotStart += 10;
}

void PlotTimeUnitAgreement(dynString& lines, const AgreementWriter& writer, const ObserverPairing& pairing,
                           const SegmentPair& pair, const std::string& marks) {
  const PlotFrame& frame = pair.Frame;
  const PickedCodeTables& codes = writer.Codes;
  WriteAgreementHeading(lines, pairing.Readers[0], pairing.Readers[1]);
  const int chunk = (writer.LineLength + 9) / 10 * 10;
  // When every picked code's symbol is one byte, a position's character is
  // looked up by its code (a blank for none of them).
  std::vector<char> oneByte(static_cast<size_t>(codes.K) + 1, ' ');
  bool allOneByte = static_cast<size_t>(codes.K) < codes.Symbols.size();
  for (int code = 1; allOneByte && code <= codes.K; ++code) {
    allOneByte = codes.Symbols[code].size() == 1;
    oneByte[code] = codes.Symbols[code][0];
  }
  bool longLabel = false;
  std::uint32_t labelTime = frame.PlotStart;
  for (int first = 0; first <= frame.PlotEnd; first += chunk) {
    const int last = std::min(first + chunk - 1, frame.PlotEnd);
    const int groups = (last - first) / 10 + 1;
    std::string labels;
    std::string ruler;
    labels.reserve(static_cast<size_t>(groups + 1) * TimeLabelWidth);
    ruler.reserve(static_cast<size_t>(groups) * 10);
    for (int g = 0; g < groups; ++g) {
      AppendTimeLabel(labels, labelTime, longLabel, writer);
      ruler += "|----+----";
    }
    lines.push_back(std::move(labels));
    lines.push_back(std::move(ruler));
    for (int obs = 0; obs < 2; ++obs) {
      const auto& timeline = pair.Obs[obs].Timeline;
      const int from = frame.SpanFrom[obs + 1];
      const int to = frame.SpanTo[obs + 1];
      std::string line;
      if (allOneByte) {
        line.resize(static_cast<size_t>(last - first + 1));
        for (int t = first; t <= last; ++t) {
          const auto code = static_cast<std::uint32_t>(timeline[t]);
          line[static_cast<size_t>(t - first)] = t < from ? '>' : t > to ? '<' : code < oneByte.size() ? oneByte[code] : ' ';
        }
      } else {
        for (int t = first; t <= last; ++t) {
          const std::int32_t code = timeline[t];
          if (t < from) {
            line += '>';
          } else if (t > to) {
            line += '<';
          } else if (code < 1 || code > codes.K) {
            line += ' ';
          } else {
            line += codes.Symbols[code];
          }
        }
      }
      lines.push_back(std::move(line));
    }
    lines.push_back(marks.substr(static_cast<size_t>(first), static_cast<size_t>(last - first + 1)));
    lines.emplace_back();
  }
}

void PlotEventAlignment(dynString& lines, const AgreementWriter& writer, const ObserverPairing& pairing,
                        const AlignmentPlot& plot) {
  WriteAgreementHeading(lines, pairing.Readers[0], pairing.Readers[1]);
  const std::int64_t steps = static_cast<std::int64_t>(plot.Marks.size());
  const std::int64_t width = writer.LineLength;
  const std::int64_t chunks = (steps - 1) / width + 1;
  for (std::int64_t c = 0; c < chunks; ++c) {
    const std::int64_t p = c * width;
    const std::int64_t w = std::min(width, steps - p);
    std::string ruler;
    for (std::int64_t r = 0; r < (w - 1) / 10 + 1; ++r) ruler += "----+----+";
    lines.push_back(std::move(ruler));
    for (const auto* symbols : {&plot.Obs1, &plot.Marks, &plot.Obs2}) {
      std::string line;
      for (std::int64_t s = p; s < std::min(p + width, steps); ++s) line += (*symbols)[s];
      lines.push_back(std::move(line));
    }
    lines.emplace_back();
  }
}

void WriteTimeUnitKappa(dynString& lines, const AgreementWriter& writer, dynInteger2& matrix1,
                        dynInteger2* matrix2, int timeTol, bool unitByUnit) {
  const int k = writer.Codes.K;
  std::string kappas, agreements, maxima;
  dynReal indKappa1;
  int m = 0;
  for (dynInteger2* matrix : {&matrix1, matrix2}) {
    if (!matrix) continue;
    CheckMatrix(*matrix, k);
    dynReal indKappa;
    const KappaResult result = KappaFromTable(*matrix, indKappa, 1, k + 1, k + 2, true, 0);
    if (m++ == 0) {
      indKappa1 = std::move(indKappa);
    } else {
      kappas += "-";
      agreements += "-";
      maxima += "-";
    }
    kappas += FormatKappaValue(result.Kappa, writer.NDigits, writer.Format);
    agreements += FormatPercent(result.AgreementPct);
    maxima += FormatKappaValue(result.KappaMax, writer.NDigits, writer.Format);
  }
  std::string label = unitByUnit ? "Kappa" : "Time-unit kappa";
  if (matrix2) {
    const size_t unit = static_cast<size_t>(std::clamp(writer.TimeUnitIndex, 0, 3));
    label += ", window= \xC2\xB1" + std::to_string(timeTol) + " " + std::string(TimeUnitPrefix[unit]) +
             writer.TimeUnitLabel;
  }
  lines.push_back(kappas + "\t" + label);
  lines.push_back(agreements + "\tAgreement");
  lines.push_back(maxima + "\tMaximum value of kappa");
  WriteAgreementMatrix(lines, writer, matrix1, indKappa1, 1);
}

void WriteEventAlignmentKappa(dynString& lines, const AgreementWriter& writer, dynInteger2& matrix,
                              bool timedOrState, const std::string& eventTolText, const std::string& overlapText) {
  const int k = writer.Codes.K;
  CheckMatrix(matrix, k);
  dynReal indKappa;
  const KappaResult result = KappaFromTable(matrix, indKappa, 0, k + 1, k + 2, true, 1);
  std::string label = "Event alignment kappa";
  if (timedOrState)
    label += ", tolerance " + eventTolText + ", overlap " + overlapText + "%";
  lines.emplace_back();
  lines.push_back(FormatKappaValue(result.Kappa, writer.NDigits, writer.Format) + "\t" + label);
  lines.push_back(FormatKappaValue(result.KappaMax, writer.NDigits, writer.Format) + "\tMaximum value of kappa");
  lines.push_back(FormatPercent(result.AgreementPct) + "\tagreement");
  WriteAgreementMatrix(lines, writer, matrix, indKappa, 0);
}

void WriteAgreementMatrix(dynString& lines, const AgreementWriter& writer, const dynInteger2& matrix,
                          const dynReal& indKappa, int first) {
  const PickedCodeTables& codes = writer.Codes;
  const int others = codes.OthersIndex();
  const int totals = codes.TotalsIndex();
  CheckMatrix(matrix, codes.K);
  const int perBlock = std::max(1, (writer.LineLength - 1) / 8);
  const bool showOthers = matrix[others][totals] > 0 || matrix[totals][others] > 0;
  lines.push_back("Rows=Obs1, Cols=Obs2, indK=individual 2x2 kappa.");
  for (int blockFirst = first; blockFirst <= totals; blockFirst += perBlock) {
    const int blockLast = std::min(blockFirst + perBlock - 1, totals);
    const bool lastBlock = blockLast == totals;
    std::vector<int> columns;
    for (int c = blockFirst; c <= blockLast; ++c) {
      if (c != others || showOthers) columns.push_back(c);
    }
    lines.emplace_back();
    std::string header;
    for (int c : columns) header += "\t" + codes.Symbols[c];
    if (lastBlock) header += "\tindK";
    lines.push_back(std::move(header));
    for (int r = first; r <= totals; ++r) {
      if (r == others && !showOthers) continue;
      WriteMatrixRow(lines, writer, matrix, indKappa, r, columns, lastBlock);
    }
  }
}

}  // namespace vork
