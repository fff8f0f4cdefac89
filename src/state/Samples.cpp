#include "state/Samples.h"

namespace mivora {

namespace {

SampleEntry Command(const char16_t* name, const char16_t* caption, const char16_t* path) {
  return {QString::fromUtf16(name), QString::fromUtf16(caption), QString::fromUtf16(path), {}};
}

}  // namespace

const std::vector<SampleEntry>& SampleMenuEntries() {
  static const std::vector<SampleEntry> entries = {
      {QStringLiteral("OptionsDB"),
       QStringLiteral("CarOptions"),
       {},
       {Command(u"DoorMirrorSearch", u"ボディー同色ドアミラー：検索", u".\\Options\\OptionsB.RSM"),
        Command(u"DoorMirrorSave", u"ボディー同色ドアミラー：保存", u".\\Options\\OptionsC.RSM")}},
      {QStringLiteral("WaterFallsDB"),
       QStringLiteral("WaterFalls"),
       {},
       {Command(u"Heli", u"Helicopter", u".\\WaterFalls\\WaterFallsH.rsm"),
        Command(u"Telescope", u"Telescope", u".\\WaterFalls\\WaterFallsT.rsm"),
        Command(u"Walk", u"Walk", u".\\WaterFalls\\WaterFallsW.rsm"),
        Command(u"Zais", u"ﾂｧｲｽ", u".\\WaterFalls\\WaterFallsZ.rsm")}},
      {QStringLiteral("ExcelEx"),
       QStringLiteral("おろし商店"),
       {},
       {Command(u"ExcelExsearch", u"衣料品売上(12月)：検索", u".\\Accounts\\AccountsB.rsm"),
        Command(u"ExcelExsave", u"衣料品売上(12月)：保存", u".\\Accounts\\AccountsC.rsm")}},
      Command(u"CheeseCake", u"CheeseCake Set", u".\\ExcelCake\\ExcelCake1.rsm"),
      Command(u"mnuTraining", u"CheeseCake 練習", u".\\ExcelCake\\CakeTraining.rsm"),
  };
  return entries;
}

}  // namespace mivora
