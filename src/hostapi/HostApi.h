// Our own declarations of the host's import-module interface on 32-bit and
// x86-64 Windows: one declaration, two layouts. The byte layout is the host's published one; every offset the
// module or the reference host relies on is pinned below, so that a field
// declared in the wrong place fails the build instead of corrupting a call.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t Boolean;  // one byte, 0 or 1
typedef int16_t OSErr;
typedef uint32_t OSType;
typedef int32_t Fixed;  // 16.16 fixed point
typedef char* Ptr;
typedef char** Handle;
typedef struct BufferOpaque* BufferID;  // null means "no buffer"
typedef unsigned char Str255[256];      // length byte, then up to 255 characters

struct Point {
    int16_t v;
    int16_t h;
};

struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// The first field is the host's main window.
struct PlatformData {
    intptr_t hwnd;
};

// Selectors of the entry point.
constexpr int16_t SelectorAbout = 0;
constexpr int16_t SelectorStart = 1;
constexpr int16_t SelectorContinue = 2;
constexpr int16_t SelectorFinish = 3;
constexpr int16_t SelectorPrepare = 4;
constexpr int16_t SelectorFinalize = 5;

// Result codes written through the host's result pointer.
constexpr OSErr ResultSuccess = 0;
constexpr OSErr ResultUserCancelled = -128;  // also every failure already shown to the user
constexpr OSErr ResultOutOfMemory = -108;    // also a conversion that cannot begin
constexpr OSErr ResultBadParameters = -30000;
constexpr OSErr ResultHostInsufficient = -30900;

constexpr int16_t ImageModeRGB = 3;
constexpr OSType FourCharCode(const char (&code)[5])
{
    return (OSType(uint8_t(code[0])) << 24) | (OSType(uint8_t(code[1])) << 16) |
           (OSType(uint8_t(code[2])) << 8) | OSType(uint8_t(code[3]));
}

// Callbacks use the platform's default C calling convention.
typedef Boolean(__cdecl* AbortProc)(void);
typedef void(__cdecl* ProgressProc)(int32_t done, int32_t total);
typedef OSErr(__cdecl* AdvanceStateProc)(void);

typedef OSErr(__cdecl* AllocateBufferProc)(int32_t size, BufferID* bufferID);
typedef Ptr(__cdecl* LockBufferProc)(BufferID bufferID, Boolean moveHigh);
typedef void(__cdecl* UnlockBufferProc)(BufferID bufferID);
typedef void(__cdecl* FreeBufferProc)(BufferID bufferID);
typedef int32_t(__cdecl* BufferSpaceProc)(void);

struct BufferProcs {
    int16_t bufferProcsVersion;
    int16_t numBufferProcs;
    AllocateBufferProc allocateProc;
    LockBufferProc lockProc;
    UnlockBufferProc unlockProc;
    FreeBufferProc freeProc;
    BufferSpaceProc spaceProc;
};

typedef Handle(__cdecl* NewHandleProc)(int32_t size);
typedef void(__cdecl* DisposeHandleProc)(Handle h);
typedef int32_t(__cdecl* GetHandleSizeProc)(Handle h);
typedef OSErr(__cdecl* SetHandleSizeProc)(Handle h, int32_t newSize);
typedef Ptr(__cdecl* LockHandleProc)(Handle h, Boolean moveHigh);
typedef void(__cdecl* UnlockHandleProc)(Handle h);
typedef void(__cdecl* RecoverSpaceProc)(int32_t size);
typedef void(__cdecl* DisposeRegularHandleProc)(Handle h);

struct HandleProcs {
    int16_t handleProcsVersion;
    int16_t numHandleProcs;
    NewHandleProc newProc;
    DisposeHandleProc disposeProc;
    GetHandleSizeProc getSizeProc;
    SetHandleSizeProc setSizeProc;
    LockHandleProc lockProc;
    UnlockHandleProc unlockProc;
    RecoverSpaceProc recoverSpaceProc;
    DisposeRegularHandleProc disposeRegularHandleProc;
};

struct AboutRecord {
    PlatformData* platformData;
    void* sSPBasic;
    void* plugInRef;
    char reserved[244];
};

struct AcquireRecord {
    int32_t serialNumber;
    AbortProc abortProc;
    ProgressProc progressProc;
    int32_t maxData;
    int16_t imageMode;
    Point imageSize;
    int16_t depth;
    int16_t planes;
    Fixed imageHRes;
    Fixed imageVRes;
    uint8_t redLUT[256];
    uint8_t greenLUT[256];
    uint8_t blueLUT[256];
    void* data;
    Rect theRect;
    int16_t loPlane;
    int16_t hiPlane;
    int16_t colBytes;
    int32_t rowBytes;
    int32_t planeBytes;
    Str255 filename;
    int16_t vRefNum;
    Boolean dirty;
    OSType hostSig;
    void* hostProc;
    int32_t hostModes;
    int16_t planeMap[16];
    Boolean canTranspose;
    Boolean needTranspose;
    Handle duotoneInfo;
    int32_t diskSpace;
    void* spaceProc;
    Fixed monitor[10];
    PlatformData* platformData;
    BufferProcs* bufferProcs;
    void* resourceProcs;
    void* processEvent;
    Boolean canReadBack;
    Boolean wantReadBack;
    Boolean acquireAgain;
    Boolean canFinalize;
    void* displayPixels;
    HandleProcs* handleProcs;
    Boolean wantFinalize;
    char reserved1[3];
    void* colorServices;
    AdvanceStateProc advanceState;
    void* imageServicesProcs;
    int16_t tileWidth;
    int16_t tileHeight;
    Point tileOrigin;
    void* propertyProcs;
    void* descriptorParameters;
    Str255* errorString;
    Boolean isFirstAlphaTransparency;
    int32_t maxValue;
    void* sSPBasic;
    void* plugInRef;
    int32_t transparentIndex;
    Handle iCCprofileData;
    int32_t iCCprofileSize;
    int32_t canUseICCProfiles;
};

// Newer hosts append fields after the last one above; a host of ours hands
// out at least this many zero-filled bytes.
constexpr size_t NewestAcquireRecordSize = sizeof(void*) == 8 ? 1576 : 1456;

// Where the two layouts differ, and only here: the left column is 32-bit
// Windows (i686), the right one x86-64, both a Windows compiler's natural
// alignment (pointers 4 or 8 bytes and aligned to their size). A native
// x86-64 build (tests on the build machine) lays the records out as x86-64
// Windows does: no field here has a size that differs between the two.
#if defined(_WIN64) || defined(__x86_64__)
#define HOST_ABI_AT(record, field, at32, at64) \
    static_assert(offsetof(record, field) == (at64), #record "." #field " moved")
static_assert(sizeof(void*) == 8, "the host interface is 64-bit here");
static_assert(sizeof(PlatformData) == 8);
static_assert(sizeof(BufferProcs) == 48 && sizeof(HandleProcs) == 72);
static_assert(sizeof(AboutRecord) == 272 && sizeof(AcquireRecord) == 1392);
#elif defined(_WIN32) || defined(__i386__)
#define HOST_ABI_AT(record, field, at32, at64) \
    static_assert(offsetof(record, field) == (at32), #record "." #field " moved")
static_assert(sizeof(void*) == 4, "the host interface is 32-bit here");
static_assert(sizeof(PlatformData) == 4);
static_assert(sizeof(BufferProcs) == 24 && sizeof(HandleProcs) == 36);
static_assert(sizeof(AboutRecord) == 256 && sizeof(AcquireRecord) == 1288);
#else
#error "the host interface is declared for i686 and x86-64 only"
#endif
static_assert(sizeof(Point) == 4 && sizeof(Rect) == 8);
static_assert(sizeof(AcquireRecord) <= NewestAcquireRecordSize);

HOST_ABI_AT(BufferProcs, bufferProcsVersion, 0, 0);
HOST_ABI_AT(BufferProcs, numBufferProcs, 2, 2);
HOST_ABI_AT(BufferProcs, allocateProc, 4, 8);
HOST_ABI_AT(BufferProcs, lockProc, 8, 16);
HOST_ABI_AT(BufferProcs, unlockProc, 12, 24);
HOST_ABI_AT(BufferProcs, freeProc, 16, 32);
HOST_ABI_AT(BufferProcs, spaceProc, 20, 40);

HOST_ABI_AT(HandleProcs, handleProcsVersion, 0, 0);
HOST_ABI_AT(HandleProcs, numHandleProcs, 2, 2);
HOST_ABI_AT(HandleProcs, newProc, 4, 8);
HOST_ABI_AT(HandleProcs, disposeProc, 8, 16);
HOST_ABI_AT(HandleProcs, getSizeProc, 12, 24);
HOST_ABI_AT(HandleProcs, setSizeProc, 16, 32);
HOST_ABI_AT(HandleProcs, lockProc, 20, 40);
HOST_ABI_AT(HandleProcs, unlockProc, 24, 48);
HOST_ABI_AT(HandleProcs, recoverSpaceProc, 28, 56);
HOST_ABI_AT(HandleProcs, disposeRegularHandleProc, 32, 64);

HOST_ABI_AT(AboutRecord, platformData, 0, 0);
HOST_ABI_AT(AboutRecord, sSPBasic, 4, 8);
HOST_ABI_AT(AboutRecord, plugInRef, 8, 16);
HOST_ABI_AT(AboutRecord, reserved, 12, 24);

HOST_ABI_AT(AcquireRecord, serialNumber, 0, 0);
HOST_ABI_AT(AcquireRecord, abortProc, 4, 8);
HOST_ABI_AT(AcquireRecord, progressProc, 8, 16);
HOST_ABI_AT(AcquireRecord, maxData, 12, 24);
HOST_ABI_AT(AcquireRecord, imageMode, 16, 28);
HOST_ABI_AT(AcquireRecord, imageSize, 18, 30);
HOST_ABI_AT(AcquireRecord, depth, 22, 34);
HOST_ABI_AT(AcquireRecord, planes, 24, 36);
HOST_ABI_AT(AcquireRecord, imageHRes, 28, 40);
HOST_ABI_AT(AcquireRecord, imageVRes, 32, 44);
HOST_ABI_AT(AcquireRecord, redLUT, 36, 48);
HOST_ABI_AT(AcquireRecord, greenLUT, 292, 304);
HOST_ABI_AT(AcquireRecord, blueLUT, 548, 560);
HOST_ABI_AT(AcquireRecord, data, 804, 816);
HOST_ABI_AT(AcquireRecord, theRect, 808, 824);
HOST_ABI_AT(AcquireRecord, loPlane, 816, 832);
HOST_ABI_AT(AcquireRecord, hiPlane, 818, 834);
HOST_ABI_AT(AcquireRecord, colBytes, 820, 836);
HOST_ABI_AT(AcquireRecord, rowBytes, 824, 840);
HOST_ABI_AT(AcquireRecord, planeBytes, 828, 844);
HOST_ABI_AT(AcquireRecord, filename, 832, 848);
HOST_ABI_AT(AcquireRecord, vRefNum, 1088, 1104);
HOST_ABI_AT(AcquireRecord, dirty, 1090, 1106);
HOST_ABI_AT(AcquireRecord, hostSig, 1092, 1108);
HOST_ABI_AT(AcquireRecord, hostProc, 1096, 1112);
HOST_ABI_AT(AcquireRecord, hostModes, 1100, 1120);
HOST_ABI_AT(AcquireRecord, planeMap, 1104, 1124);
HOST_ABI_AT(AcquireRecord, canTranspose, 1136, 1156);
HOST_ABI_AT(AcquireRecord, needTranspose, 1137, 1157);
HOST_ABI_AT(AcquireRecord, duotoneInfo, 1140, 1160);
HOST_ABI_AT(AcquireRecord, diskSpace, 1144, 1168);
HOST_ABI_AT(AcquireRecord, spaceProc, 1148, 1176);
HOST_ABI_AT(AcquireRecord, monitor, 1152, 1184);
HOST_ABI_AT(AcquireRecord, platformData, 1192, 1224);
HOST_ABI_AT(AcquireRecord, bufferProcs, 1196, 1232);
HOST_ABI_AT(AcquireRecord, resourceProcs, 1200, 1240);
HOST_ABI_AT(AcquireRecord, processEvent, 1204, 1248);
HOST_ABI_AT(AcquireRecord, canReadBack, 1208, 1256);
HOST_ABI_AT(AcquireRecord, wantReadBack, 1209, 1257);
HOST_ABI_AT(AcquireRecord, acquireAgain, 1210, 1258);
HOST_ABI_AT(AcquireRecord, canFinalize, 1211, 1259);
HOST_ABI_AT(AcquireRecord, displayPixels, 1212, 1264);
HOST_ABI_AT(AcquireRecord, handleProcs, 1216, 1272);
HOST_ABI_AT(AcquireRecord, wantFinalize, 1220, 1280);
HOST_ABI_AT(AcquireRecord, colorServices, 1224, 1288);
HOST_ABI_AT(AcquireRecord, advanceState, 1228, 1296);
HOST_ABI_AT(AcquireRecord, imageServicesProcs, 1232, 1304);
HOST_ABI_AT(AcquireRecord, tileWidth, 1236, 1312);
HOST_ABI_AT(AcquireRecord, tileHeight, 1238, 1314);
HOST_ABI_AT(AcquireRecord, tileOrigin, 1240, 1316);
HOST_ABI_AT(AcquireRecord, propertyProcs, 1244, 1320);
HOST_ABI_AT(AcquireRecord, descriptorParameters, 1248, 1328);
HOST_ABI_AT(AcquireRecord, errorString, 1252, 1336);
HOST_ABI_AT(AcquireRecord, isFirstAlphaTransparency, 1256, 1344);
HOST_ABI_AT(AcquireRecord, maxValue, 1260, 1348);
HOST_ABI_AT(AcquireRecord, sSPBasic, 1264, 1352);
HOST_ABI_AT(AcquireRecord, plugInRef, 1268, 1360);
HOST_ABI_AT(AcquireRecord, transparentIndex, 1272, 1368);
HOST_ABI_AT(AcquireRecord, iCCprofileData, 1276, 1376);
HOST_ABI_AT(AcquireRecord, iCCprofileSize, 1280, 1384);
HOST_ABI_AT(AcquireRecord, canUseICCProfiles, 1284, 1388);
#undef HOST_ABI_AT
