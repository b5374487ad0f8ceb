#include "resources/main_template.h"

#include <array>

#include "resources/menu.h"

namespace zav {

namespace {

using K = ControlKind;

// Captions come at run time; only the eight parameter unit labels carry fixed texts.
constexpr std::array kMainControls{
    // Toolbar and port list.
    Control(1002, K::Toolbar, 0, 0, 362, 17),
    Control(1061, K::FieldLabel, 6, 243, 42, 11),
    Control(1001, K::DropDownList, 48, 243, 42, 100),
    // Group "Petrol": captions, bars, time edits and units of BA_1 to BA_4 and BA_V.
    Control(1062, K::GroupBox, 6, 27, 246, 122),
    Control(1029, K::Label, 18, 49, 18, 11),
    Control(1003, K::ProgressBar, 42, 49, 150, 10),
    Control(1012, K::ValueEdit, 198, 49, 24, 11),
    Control(1038, K::Label, 228, 49, 12, 11),
    Control(1030, K::Label, 18, 60, 18, 11),
    Control(1004, K::ProgressBar, 42, 60, 150, 10),
    Control(1013, K::ValueEdit, 198, 60, 24, 11),
    Control(1039, K::Label, 228, 60, 12, 11),
    Control(1031, K::Label, 18, 72, 18, 11),
    Control(1005, K::ProgressBar, 42, 72, 150, 10),
    Control(1014, K::ValueEdit, 198, 72, 24, 11),
    Control(1040, K::Label, 228, 72, 12, 11),
    Control(1032, K::Label, 18, 83, 18, 11),
    Control(1006, K::ProgressBar, 42, 83, 150, 10),
    Control(1015, K::ValueEdit, 198, 83, 24, 11),
    Control(1041, K::Label, 228, 83, 12, 11),
    Control(1033, K::Label, 18, 116, 18, 11),
    Control(1007, K::ProgressBar, 42, 116, 150, 10),
    Control(1016, K::ValueEdit, 198, 116, 24, 11),
    Control(1042, K::Label, 228, 116, 12, 11),
    // Group "gas": GAS_1 to GAS_4.
    Control(1063, K::GroupBox, 6, 160, 246, 78),
    Control(1034, K::Label, 18, 177, 24, 11),
    Control(1008, K::ProgressBar, 48, 177, 150, 10),
    Control(1017, K::ValueEdit, 204, 177, 24, 11),
    Control(1043, K::Label, 234, 177, 12, 11),
    Control(1035, K::Label, 18, 188, 24, 11),
    Control(1009, K::ProgressBar, 48, 188, 150, 10),
    Control(1018, K::ValueEdit, 204, 188, 24, 11),
    Control(1044, K::Label, 234, 188, 12, 11),
    Control(1036, K::Label, 18, 199, 24, 11),
    Control(1010, K::ProgressBar, 48, 199, 150, 10),
    Control(1019, K::ValueEdit, 204, 199, 24, 11),
    Control(1045, K::Label, 234, 199, 12, 11),
    Control(1037, K::Label, 18, 210, 24, 11),
    Control(1011, K::ProgressBar, 48, 210, 150, 10),
    Control(1020, K::ValueEdit, 204, 210, 24, 11),
    Control(1046, K::Label, 234, 210, 12, 11),
    // Group "Pressure" and the group without a caption: sensors with narrow bars.
    Control(1064, K::GroupBox, 264, 27, 96, 100),
    Control(1065, K::GroupBox, 264, 132, 96, 94),
    Control(1047, K::Label, 276, 38, 18, 11),
    Control(1021, K::ValueEdit, 300, 38, 30, 11),
    Control(1054, K::Label, 336, 38, 18, 11),
    Control(1106, K::ProgressBar, 270, 55, 84, 6),
    Control(1048, K::Label, 270, 72, 30, 11),
    Control(1022, K::ValueEdit, 300, 72, 30, 11),
    Control(1055, K::Label, 336, 72, 18, 11),
    Control(1107, K::ProgressBar, 270, 88, 84, 6),
    Control(1049, K::Label, 270, 105, 24, 11),
    Control(1023, K::ValueEdit, 300, 105, 30, 11),
    Control(1056, K::Label, 336, 105, 18, 11),
    Control(1050, K::Label, 270, 144, 24, 11),
    Control(1028, K::ValueEdit, 300, 144, 30, 11),
    Control(1057, K::Label, 336, 144, 12, 11),
    Control(1051, K::Label, 270, 160, 24, 11),
    Control(1024, K::ValueEdit, 300, 160, 30, 11),
    Control(1058, K::Label, 336, 160, 18, 11),
    Control(1052, K::Label, 270, 177, 24, 11),
    Control(1026, K::ValueEdit, 300, 177, 30, 11),
    Control(1059, K::Label, 336, 177, 12, 11),
    Control(1053, K::Label, 270, 193, 30, 11),
    Control(1025, K::ValueEdit, 300, 193, 30, 11),
    Control(1060, K::Label, 336, 193, 12, 11),
    Control(1108, K::ProgressBar, 270, 210, 84, 6),
    // Group "Status".
    Control(1066, K::GroupBox, 264, 232, 96, 61),
    Control(1027, K::StatusEdit, 282, 249, 60, 11),
    Control(1067, K::PushButton, 282, 271, 60, 17),
    // The parameter groups; edits 1085 to 1097 run in register order, rows do not.
    Control(1082, K::GroupBox, 372, 27, 126, 100),
    Control(1081, K::Label, 384, 44, 48, 11),
    Control(1085, K::ValueEdit, 438, 44, 30, 11),
    Control(1098, K::UnitLabel, 474, 44, 18, 11, "°C"),
    Control(1080, K::Label, 384, 60, 48, 11),
    Control(1086, K::ValueEdit, 438, 60, 30, 11),
    Control(1099, K::UnitLabel, 474, 60, 18, 11, "mBar"),
    Control(1079, K::Label, 384, 77, 48, 11),
    Control(1087, K::ValueEdit, 438, 77, 30, 11),
    Control(1100, K::UnitLabel, 474, 77, 18, 11, "mBar"),
    Control(1078, K::Label, 384, 94, 48, 11),
    Control(1088, K::ValueEdit, 438, 94, 30, 11),
    Control(1101, K::UnitLabel, 474, 94, 18, 11, "ms"),
    Control(1077, K::Label, 384, 110, 48, 11),
    Control(1091, K::ValueEdit, 438, 110, 30, 11),
    Control(1102, K::UnitLabel, 474, 110, 18, 11, "us"),
    Control(1083, K::GroupBox, 372, 132, 126, 50),
    Control(1076, K::Label, 384, 149, 48, 11),
    Control(1089, K::ValueEdit, 438, 149, 30, 11),
    Control(1103, K::UnitLabel, 474, 149, 18, 11, "mBar"),
    Control(1075, K::Label, 384, 166, 48, 11),
    Control(1090, K::ValueEdit, 438, 166, 30, 11),
    Control(1104, K::UnitLabel, 474, 166, 18, 11, "ms"),
    Control(1084, K::GroupBox, 372, 188, 126, 116),
    Control(1074, K::Label, 384, 204, 48, 11),
    Control(1092, K::ValueEdit, 438, 204, 30, 11),
    Control(1073, K::Label, 384, 221, 48, 11),
    Control(1093, K::ValueEdit, 438, 221, 30, 11),
    Control(1072, K::Label, 384, 238, 48, 11),
    Control(1094, K::ValueEdit, 438, 238, 30, 11),
    Control(1071, K::Label, 384, 254, 48, 11),
    Control(1095, K::ValueEdit, 438, 254, 30, 11),
    Control(1070, K::Label, 384, 271, 48, 11),
    Control(1096, K::ValueEdit, 438, 271, 30, 11),
    Control(1105, K::UnitLabel, 474, 271, 18, 11, "us"),
    Control(1069, K::Label, 384, 288, 48, 11),
    Control(1097, K::ValueEdit, 438, 288, 30, 11),
    // Bottom row: the configuration name.
    Control(1068, K::FieldLabel, 132, 299, 66, 11),
    Control(1109, K::NameEdit, 210, 299, 150, 11),
};

}  // namespace

const DialogTemplate& MainTemplate() {
  static const DialogTemplate kTemplate{
      .id = kMainTemplateId,
      .title = "ZAV Monitor 2.04a",
      .rect = {78, 55, 510, 318},
      .minimizeBox = true,
      .maximizeBox = false,
      .sizingBorder = false,
      .menuId = kMainMenuId,
      .controls = kMainControls,
  };
  return kTemplate;
}

}  // namespace zav
