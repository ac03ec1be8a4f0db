#pragma once

// What the user would see cut or overlapping in a window as it is laid out
// now, measured against the window's own fonts, so that the check holds
// whatever fonts the machine has.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

namespace vork::testing {

// One line per fault: a caption cut by its own control or by a parent that
// is too small, or two captioned controls of one parent on top of each
// other. Controls inside scrolled areas are left out: they may scroll.
inline QStringList CutOrOverlappingCaptions(const QWidget& window) {
  QStringList faults;
  auto caption = [](const QWidget* w) -> QString {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (auto* box = qobject_cast<const QGroupBox*>(w)) return box->title();
    return QString();
  };
  auto scrolled = [&](const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && p != &window; p = p->parentWidget())
      if (qobject_cast<const QAbstractScrollArea*>(p)) return true;
    return false;
  };
  QList<const QWidget*> shown;
  for (const QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisible() || w->window() != &window || caption(w).isEmpty() || scrolled(w)) continue;
    shown << w;
    const QString name = "'" + caption(w) + "'";
    int needed = 0;
    if (auto* label = qobject_cast<const QLabel*>(w)) {
      if (label->wordWrap()) {
        if (label->height() < label->heightForWidth(label->width())) faults << name + " is cut at its foot";
      } else {
        needed = label->sizeHint().width();
      }
    } else if (qobject_cast<const QPushButton*>(w) || qobject_cast<const QToolButton*>(w)) {
      needed = w->fontMetrics().horizontalAdvance(caption(w)) + 4;
    } else {
      needed = w->minimumSizeHint().width();  // check and radio boxes, group titles
    }
    if (w->width() < needed) faults << name + " is cut: " + QString::number(w->width()) + " < " + QString::number(needed);
    const QWidget* parent = w->parentWidget();
    if (parent && !parent->rect().contains(w->geometry())) faults << name + " reaches outside its parent";
  }
  for (int i = 0; i < shown.size(); ++i)
    for (int j = i + 1; j < shown.size(); ++j)
      if (shown[i]->parentWidget() == shown[j]->parentWidget() && shown[i]->geometry().intersects(shown[j]->geometry()))
        faults << "'" + caption(shown[i]) + "' overlaps '" + caption(shown[j]) + "'";
  return faults;
}

}  // namespace vork::testing
