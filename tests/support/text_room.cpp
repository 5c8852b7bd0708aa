#include "text_room.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include "platform/controls.h"

namespace {

// The style option a control paints itself with (its initialisation is protected).
template <class Widget, class Option>
Option optionOf(const Widget* w) {
  struct Open : Widget {
    using Widget::initStyleOption;
  };
  Option option;
  (w->*&Open::initStyleOption)(&option);
  return option;
}

// The room a control gives a text, and the room the text needs with the
// control's font (with the icon beside it on a button).
struct Room {
  QSize given, needed;
};

std::optional<Room> roomFor(QWidget* w, const QString& text) {
  const QStyle* s = w->style();
  const QFontMetrics fm(w->font());
  const QSize plain(fm.horizontalAdvance(text), fm.ascent() + fm.descent());
  const auto* button = qobject_cast<QAbstractButton*>(w);
  const QSize icon = button && !button->icon().isNull() ? QSize(button->iconSize().width() + 4, 0) : QSize();
  if (auto* label = qobject_cast<QLabel*>(w))
    return Room{label->contentsRect().marginsRemoved(QMargins() + label->margin()).size(), plain};
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {  // the edit's own margins: 2 pixels aside, 1 above and below
    const QStyleOptionFrame o = optionOf<QLineEdit, QStyleOptionFrame>(edit);
    const QRect r = s->subElementRect(QStyle::SE_LineEditContents, &o, edit).marginsRemoved(edit->textMargins());
    return Room{r.size() - QSize(4, 2), plain};
  }
  if (auto* box = qobject_cast<QCheckBox*>(w)) {
    const QStyleOptionButton o = optionOf<QCheckBox, QStyleOptionButton>(box);
    return Room{s->subElementRect(QStyle::SE_CheckBoxContents, &o, box).size(), plain};
  }
  if (auto* push = qobject_cast<QPushButton*>(w)) {
    const QStyleOptionButton o = optionOf<QPushButton, QStyleOptionButton>(push);
    return Room{s->subElementRect(QStyle::SE_PushButtonContents, &o, push).size(), plain + icon};
  }
  if (button) {  // a tool button draws inside its frame
    const int frame = s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
    return Room{w->size() - QSize(2 * frame, 2 * frame), plain + icon};
  }
  if (auto* box = qobject_cast<QGroupBox*>(w)) {  // the style's own title rectangle
    const QStyleOptionGroupBox o = optionOf<QGroupBox, QStyleOptionGroupBox>(box);
    const QRect title = s->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, box);
    return Room{QSize(box->width() - title.left(), box->height()), title.size()};
  }
  if (auto* combo = qobject_cast<QComboBox*>(w)) {  // the item is drawn a pixel in from the field's sides
    const QStyleOptionComboBox o = optionOf<QComboBox, QStyleOptionComboBox>(combo);
    return Room{s->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, combo).size() - QSize(2, 0),
                plain};
  }
  if (qobject_cast<TGauge*>(w)) return Room{w->size(), plain};
  return std::nullopt;
}

// The texts a control shows: its caption, or each item of its list.
QStringList textsOf(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return {label->text()};
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return {edit->text()};
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return {button->text()};
  if (auto* box = qobject_cast<QGroupBox*>(w)) return {box->title()};
  if (auto* gauge = qobject_cast<TGauge*>(w)) return {gauge->text()};
  QStringList items;
  if (auto* combo = qobject_cast<QComboBox*>(w))
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QString named(QWidget* w, const QString& text) {
  return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), text);
}

void check(QWidget* w, const QString& text, QStringList& faults) {
  const std::optional<Room> r = text.isEmpty() ? std::nullopt : roomFor(w, text);
  if (!r) return;
  if (const QString shown = QFontInfo(w->font()).family(); shown != w->font().family())
    faults << named(w, text) + QStringLiteral(": font %1 shown as %2").arg(w->font().family(), shown);
  if (r->needed.width() > r->given.width() || r->needed.height() > r->given.height())
    faults << named(w, text) + QStringLiteral(": %1 x %2 px in %3 x %4")
                                   .arg(r->needed.width())
                                   .arg(r->needed.height())
                                   .arg(r->given.width())
                                   .arg(r->given.height());
}

// A label, which may have grown to its text, stays inside its parent and off
// the controls beside it; labels that paint no background cover no other.
void checkPlace(QLabel* label, QStringList& faults) {
  QWidget* parent = label->parentWidget();
  if (!parent->rect().contains(label->geometry())) faults << named(label, label->text()) + ": beyond its parent";
  for (QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const bool bare = qobject_cast<QLabel*>(other) && !other->autoFillBackground() && !label->autoFillBackground();
    if (other != label && !other->isHidden() && !bare && other->geometry().intersects(label->geometry()))
      faults << named(label, label->text()) + ": meets " + named(other, QString());
  }
}

}  // namespace

QStringList textsCutOff(QWidget& window, const QList<LaterText>& later) {
  QStringList faults;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    for (const QString& text : textsOf(w)) check(w, text, faults);
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) checkPlace(label, faults);
  }
  for (const LaterText& t : later) check(t.control, t.text, faults);
  return faults;
}
