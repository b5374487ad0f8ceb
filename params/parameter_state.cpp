#include "params/parameter_state.h"

namespace zav {

void BindControllerSet(ParameterState& state, Link& link) {
  link.hooks.parametersRead = [&state, &link] {
    ConfirmReadSet(state.confirmedSet, link.image);
    state.imageHasSource = true;
  };
  link.hooks.parametersWritten = [&state, &link] {
    ConfirmWrittenSet(state.confirmedSet, link.image);
    state.imageHasSource = true;
  };
}

}  // namespace zav
