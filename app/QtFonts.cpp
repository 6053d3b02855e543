// Windows font names mapped to the platform's families; see QtFonts.h.
#include "QtFonts.h"

#include <QFontDatabase>

namespace vorn {
namespace {

enum class Pitch { Proportional, Fixed };

struct KnownFamily {
  const char* name;
  Pitch pitch;
};

// The Windows families the forms name.
constexpr KnownFamily kKnownFamilies[] = {
    {"MS Sans Serif", Pitch::Proportional},
    {"Courier New", Pitch::Fixed},
};

const KnownFamily* FindKnown(const QString& family) {
  for (const KnownFamily& known : kKnownFamilies) {
    if (family.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0) return &known;
  }
  return nullptr;
}

QString StandIn(Pitch pitch) {
  return QFontDatabase::systemFont(pitch == Pitch::Fixed ? QFontDatabase::FixedFont
                                                         : QFontDatabase::GeneralFont)
      .family();
}

}  // namespace

QString PlatformFontFamily(const QString& family) {
  if (QFontDatabase::hasFamily(family)) return family;
  const KnownFamily* known = FindKnown(family);
  if (known == nullptr) return family;
  const QString standIn = StandIn(known->pitch);
  return standIn.isEmpty() ? family : standIn;
}

QFont VornixFont(const QString& family, int pointSize, TFontStyles style) {
  QFont font(PlatformFontFamily(family), pointSize);
  const KnownFamily* known = FindKnown(family);
  if (known != nullptr && known->pitch == Pitch::Fixed) font.setStyleHint(QFont::Monospace);
  ApplyFontStyle(font, style);
  return font;
}

void ApplyFontStyle(QFont& font, TFontStyles style) {
  font.setBold((style & fsBold) != 0);
  font.setItalic((style & fsItalic) != 0);
  font.setUnderline((style & fsUnderline) != 0);
  font.setStrikeOut((style & fsStrikeOut) != 0);
}

void InstallFontSubstitutions() {
  for (const KnownFamily& known : kKnownFamilies) {
    const QString name = QLatin1String(known.name);
    if (QFontDatabase::hasFamily(name)) continue;
    const QString standIn = StandIn(known.pitch);
    if (!standIn.isEmpty() && standIn != name) QFont::insertSubstitution(name, standIn);
  }
}

}  // namespace vorn
