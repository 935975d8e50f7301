#pragma once
// Owner of one COM interface pointer: the system's own (WRL's ComPtr, which MinGW-w64 ships as
// well). Copying adds a reference, moving hands it over, the last owner to go releases it. An
// out-parameter is written through IID_PPV_ARGS(&owner), or &owner, which let go of what the
// owner held first.
#include <wrl/client.h>

template <typename T> using TComPtr = Microsoft::WRL::ComPtr<T>;
