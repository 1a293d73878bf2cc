// AppFace: the DLL's two exported entries.
#include "AppFace.h"

#include "SkinFile.h"
#include "SkinSource.h"
#include "ThreadSkin.h"

// No exception may cross into the caller; any failure means "no skin".
int WINAPI AppFaceStart(const char* skinFile, DWORD, DWORD, DWORD, DWORD) {
    try {
        if (skin::ThreadSkin::Current()) return TRUE;
        const auto bytes = skin::ReadSkinSource(skinFile);
        if (!bytes) return FALSE;
        const auto settings = skin::ParseSkin(*bytes);
        return settings && skin::ThreadSkin::Start(*settings) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

int WINAPI AppFaceStop() {
    try {
        skin::ThreadSkin::Stop();
    } catch (...) {
        // The state is already detached; what is left unrestored stays as it was.
    }
    return TRUE;
}
