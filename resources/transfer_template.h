#pragma once
// Template 3000: the "Communicate with AZV" progress dialog of block transfers and uploads.

#include "resources/dialog_template.h"

namespace zav {

inline constexpr int kTransferTemplateId = 3000;
inline constexpr int kTransferProgressBar = 3001;
inline constexpr int kTransferCancelButton = 3002;

const DialogTemplate& TransferTemplate();

}  // namespace zav
