// Our own declarations of the host's import-module interface on 32-bit
// Windows. The byte layout is the host's published one; every offset the
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
constexpr size_t NewestAcquireRecordSize = 1456;

// The layout is that of a 32-bit Windows compiler with natural alignment.
#if !defined(_WIN64) && (defined(_WIN32) || defined(__i386__))
static_assert(sizeof(void*) == 4, "the host interface is 32-bit");
static_assert(sizeof(Point) == 4 && sizeof(Rect) == 8 && sizeof(PlatformData) == 4);
static_assert(sizeof(AboutRecord) == 256 && sizeof(AcquireRecord) == 1288);
static_assert(sizeof(AcquireRecord) <= NewestAcquireRecordSize);

static_assert(offsetof(BufferProcs, bufferProcsVersion) == 0);
static_assert(offsetof(BufferProcs, numBufferProcs) == 2);
static_assert(offsetof(BufferProcs, allocateProc) == 4);
static_assert(offsetof(BufferProcs, lockProc) == 8);
static_assert(offsetof(BufferProcs, unlockProc) == 12);
static_assert(offsetof(BufferProcs, freeProc) == 16);
static_assert(offsetof(BufferProcs, spaceProc) == 20);

static_assert(offsetof(HandleProcs, handleProcsVersion) == 0);
static_assert(offsetof(HandleProcs, numHandleProcs) == 2);
static_assert(offsetof(HandleProcs, newProc) == 4);
static_assert(offsetof(HandleProcs, disposeProc) == 8);
static_assert(offsetof(HandleProcs, getSizeProc) == 12);
static_assert(offsetof(HandleProcs, setSizeProc) == 16);
static_assert(offsetof(HandleProcs, lockProc) == 20);
static_assert(offsetof(HandleProcs, unlockProc) == 24);
static_assert(offsetof(HandleProcs, recoverSpaceProc) == 28);
static_assert(offsetof(HandleProcs, disposeRegularHandleProc) == 32);

static_assert(offsetof(AboutRecord, platformData) == 0);
static_assert(offsetof(AboutRecord, sSPBasic) == 4);
static_assert(offsetof(AboutRecord, plugInRef) == 8);
static_assert(offsetof(AboutRecord, reserved) == 12);

static_assert(offsetof(AcquireRecord, serialNumber) == 0);
static_assert(offsetof(AcquireRecord, abortProc) == 4);
static_assert(offsetof(AcquireRecord, progressProc) == 8);
static_assert(offsetof(AcquireRecord, maxData) == 12);
static_assert(offsetof(AcquireRecord, imageMode) == 16);
static_assert(offsetof(AcquireRecord, imageSize) == 18);
static_assert(offsetof(AcquireRecord, depth) == 22);
static_assert(offsetof(AcquireRecord, planes) == 24);
static_assert(offsetof(AcquireRecord, imageHRes) == 28);
static_assert(offsetof(AcquireRecord, imageVRes) == 32);
static_assert(offsetof(AcquireRecord, redLUT) == 36);
static_assert(offsetof(AcquireRecord, greenLUT) == 292);
static_assert(offsetof(AcquireRecord, blueLUT) == 548);
static_assert(offsetof(AcquireRecord, data) == 804);
static_assert(offsetof(AcquireRecord, theRect) == 808);
static_assert(offsetof(AcquireRecord, loPlane) == 816);
static_assert(offsetof(AcquireRecord, hiPlane) == 818);
static_assert(offsetof(AcquireRecord, colBytes) == 820);
static_assert(offsetof(AcquireRecord, rowBytes) == 824);
static_assert(offsetof(AcquireRecord, planeBytes) == 828);
static_assert(offsetof(AcquireRecord, filename) == 832);
static_assert(offsetof(AcquireRecord, vRefNum) == 1088);
static_assert(offsetof(AcquireRecord, dirty) == 1090);
static_assert(offsetof(AcquireRecord, hostSig) == 1092);
static_assert(offsetof(AcquireRecord, hostProc) == 1096);
static_assert(offsetof(AcquireRecord, hostModes) == 1100);
static_assert(offsetof(AcquireRecord, planeMap) == 1104);
static_assert(offsetof(AcquireRecord, canTranspose) == 1136);
static_assert(offsetof(AcquireRecord, needTranspose) == 1137);
static_assert(offsetof(AcquireRecord, duotoneInfo) == 1140);
static_assert(offsetof(AcquireRecord, diskSpace) == 1144);
static_assert(offsetof(AcquireRecord, spaceProc) == 1148);
static_assert(offsetof(AcquireRecord, monitor) == 1152);
static_assert(offsetof(AcquireRecord, platformData) == 1192);
static_assert(offsetof(AcquireRecord, bufferProcs) == 1196);
static_assert(offsetof(AcquireRecord, resourceProcs) == 1200);
static_assert(offsetof(AcquireRecord, processEvent) == 1204);
static_assert(offsetof(AcquireRecord, canReadBack) == 1208);
static_assert(offsetof(AcquireRecord, wantReadBack) == 1209);
static_assert(offsetof(AcquireRecord, acquireAgain) == 1210);
static_assert(offsetof(AcquireRecord, canFinalize) == 1211);
static_assert(offsetof(AcquireRecord, displayPixels) == 1212);
static_assert(offsetof(AcquireRecord, handleProcs) == 1216);
static_assert(offsetof(AcquireRecord, wantFinalize) == 1220);
static_assert(offsetof(AcquireRecord, colorServices) == 1224);
static_assert(offsetof(AcquireRecord, advanceState) == 1228);
static_assert(offsetof(AcquireRecord, imageServicesProcs) == 1232);
static_assert(offsetof(AcquireRecord, tileWidth) == 1236);
static_assert(offsetof(AcquireRecord, tileHeight) == 1238);
static_assert(offsetof(AcquireRecord, tileOrigin) == 1240);
static_assert(offsetof(AcquireRecord, propertyProcs) == 1244);
static_assert(offsetof(AcquireRecord, descriptorParameters) == 1248);
static_assert(offsetof(AcquireRecord, errorString) == 1252);
static_assert(offsetof(AcquireRecord, isFirstAlphaTransparency) == 1256);
static_assert(offsetof(AcquireRecord, maxValue) == 1260);
static_assert(offsetof(AcquireRecord, sSPBasic) == 1264);
static_assert(offsetof(AcquireRecord, plugInRef) == 1268);
static_assert(offsetof(AcquireRecord, transparentIndex) == 1272);
static_assert(offsetof(AcquireRecord, iCCprofileData) == 1276);
static_assert(offsetof(AcquireRecord, iCCprofileSize) == 1280);
static_assert(offsetof(AcquireRecord, canUseICCProfiles) == 1284);
#endif
