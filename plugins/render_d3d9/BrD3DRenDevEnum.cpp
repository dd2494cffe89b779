// BrD3DRenDev: enumeration of adapters and modes, the capability report, format confirmation and the mode choice.
#include <algorithm>
#include <cstring>
#include <memory>

#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

namespace {

struct CandidateMode {
  UINT Width;
  UINT Height;
  UINT RefreshRate;
  D3DFORMAT Format;
};

// Format code descending, then width, then height ascending.
bool candidateBefore(const CandidateMode& a, const CandidateMode& b) {
  if (a.Format != b.Format) return a.Format > b.Format;
  if (a.Width != b.Width) return a.Width < b.Width;
  return a.Height < b.Height;
}

int configInt(const char* section, const char* key, int fallback) {
  int value = fallback;
  if (BrConfigCache* config = Engine().GetConfig()) config->GetInteger(section, key, value);
  return value;
}

void configSet(const char* section, const char* key, int value) {
  if (BrConfigCache* config = Engine().GetConfig()) config->SetInteger(section, key, value);
}

}  // namespace

bool BrD3DRenDev::EnumAndCaps() {
  if (!m_pD3D) return false;
  GLog.WriteLine("Enumerating D3D adapters:");
  m_uiNumAdapters = m_pD3D->GetAdapterCount();
  GLog.printf("\tDetected %i D3D adapter(s)", (int)m_uiNumAdapters);

  // The records hold five adapters: any beyond them are not considered.
  const unsigned int adapters = std::min<unsigned int>(m_uiNumAdapters, ciMaxAdapters);
  std::unique_ptr<D3DAdapterInfo> working(new D3DAdapterInfo);

  for (unsigned int a = 0; a < adapters; ++a) {
    D3DAdapterInfo* adapter = working.get();
    std::memset(adapter, 0, sizeof(D3DAdapterInfo));
    if (FAILED(m_pD3D->GetAdapterIdentifier(a, D3DENUM_WHQL_LEVEL, &adapter->d3dAdapterIdentifier))) {
      GLog.printf("WARNING: FAILED GetAdapterIdentifier(...) on adapter #%i", (int)a);
      return false;
    }
    adapter->d3dAdapterIdentifier.Description[MAX_DEVICE_IDENTIFIER_STRING - 1] = 0;
    adapter->d3dAdapterIdentifier.Driver[MAX_DEVICE_IDENTIFIER_STRING - 1] = 0;
    GLog.printf("\t%s / Driver: %s", adapter->d3dAdapterIdentifier.Description, adapter->d3dAdapterIdentifier.Driver);
    if (FAILED(m_pD3D->GetAdapterDisplayMode(a, &adapter->d3ddmDesktop))) {
      GLog.printf("WARNING: FAILED GetAdapterDisplayMode(...) on adapter #%i", (int)a);
      return false;
    }

    const D3DFORMAT candidates[5] = {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_A2R10G10B10,
                                     adapter->d3ddmDesktop.Format};
    TDArray<D3DFORMAT> formats;
    CandidateMode modes[ciMaxCandidateModes];
    int numModes = 0;
    for (int f = 0; f < 5; ++f) {
      const UINT count = m_pD3D->GetAdapterModeCount(a, candidates[f]);
      for (UINT j = 0; j < count; ++j) {
        D3DDISPLAYMODE mode;
        if (FAILED(m_pD3D->EnumAdapterModes(a, candidates[f], j, &mode))) {
          GLog.printf("WARNING: Failed EnumAdapterModes(...) on adapter #%i", (int)a);
          return false;
        }
        if (mode.Width < 800 || mode.Height < 600) continue;
        // Past the candidate limit further modes are ignored.
        if (numModes >= ciMaxCandidateModes) continue;
        modes[numModes].Width = mode.Width;
        modes[numModes].Height = mode.Height;
        modes[numModes].RefreshRate = 0;
        modes[numModes].Format = mode.Format;
        ++numModes;
        bool known = false;
        for (int k = 0; k < formats.GetCount(); ++k)
          if (formats[k] == mode.Format) known = true;
        if (!known) formats.Add(mode.Format);
      }
    }
    std::stable_sort(modes, modes + numModes, candidateBefore);

    // The hardware device type is the only one enumerated, as device 0.
    D3DDeviceInfo* device = &adapter->devices[0];
    device->DeviceType = D3DDEVTYPE_HAL;
    std::strcpy(device->strDesc, brD3DDevTypeName(D3DDEVTYPE_HAL));
    if (FAILED(m_pD3D->GetDeviceCaps(a, device->DeviceType, &device->d3dCaps))) {
      GLog.printf("WARNING: FAILED GetDeviceCaps(...) on adapter #%i, device #%i", (int)a, 0);
      return false;
    }
    const D3DCAPS9& caps = device->d3dCaps;
    const char* name = brD3DDevTypeName(device->DeviceType);
    if (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
      GLog.DebugPrintf("\t%s Device supports fixed function HW VP", name);
      device->bHWTnL = true;
      if (caps.VertexShaderVersion >= D3DVS_VERSION(1, 1)) {
        GLog.DebugPrintf("\t%s Device supports programmable HW VP", name);
        device->bProgrammableVP = true;
        if (caps.DevCaps & D3DDEVCAPS_PUREDEVICE) GLog.DebugPrintf("\t%s Device is Pure", name);
      } else {
        GLog.DebugPrintf("\t%s Device does not support programmable HW VP", name);
        device->bProgrammableVP = false;
      }
    } else {
      GLog.DebugPrintf("\t%s Device does NOT support HWTnL", name);
    }
    if (caps.SrcBlendCaps & D3DPBLENDCAPS_SRCALPHA)
      GLog.DebugPrintf("\t%s Device supports source alpha blending", name);
    else
      GLog.DebugPrintf("\t%s Device does NOT support source alpha blending", name);
    if (caps.DestBlendCaps & D3DPBLENDCAPS_INVSRCALPHA)
      GLog.DebugPrintf("\t%s Device supports destination inverse alpha blending", name);
    else
      GLog.DebugPrintf("\t%s Device does NOT support destination inverse alpha blending", name);
    GLog.DebugPrintf("\tDevice supports a max of %i VS1_1 shader constants", (int)caps.MaxVertexShaderConst);
    if (caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFLINEAR) {
      GLog.DebugPrintf("\t%s Device supports bilinear filtering on texture minification", name);
      m_iMinFilter = 1;
    } else {
      GLog.DebugPrintf("\t%s Device does NOT support bilinear filtering on texture minification", name);
    }
    if (caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR) {
      GLog.DebugPrintf("\t%s Device supports bilinear filtering on texture magnification", name);
      m_iMagFilter = 1;
    } else {
      GLog.DebugPrintf("\t%s Device dose NOT support bilinear filtering on texture magnification", name);
    }
    if (caps.TextureFilterCaps & D3DPTFILTERCAPS_MIPFLINEAR) {
      GLog.DebugPrintf("\t%s Device supports trilinear MIP map interpolation", name);
      m_iMipFilter = 1;
    } else {
      GLog.DebugPrintf("\t%s Device does NOT support trilinear MIP map interpolation", name);
    }
    GLog.DebugPrintf("\t%s Device supports a max of %i active API lights", name, (int)caps.MaxActiveLights);
    m_uiSimultaneousTextures = caps.MaxSimultaneousTextures;
    m_uiBlendStages = caps.MaxTextureBlendStages;
    GLog.DebugPrintf("\t%s Device can bind up to %i textures simultaneously to %i blend stages", name,
                     (int)m_uiSimultaneousTextures, (int)m_uiBlendStages);
    m_uiTexCoordSets = caps.FVFCaps & D3DFVFCAPS_TEXCOORDCOUNTMASK;
    GLog.DebugPrintf("\t%s Device supports up to %i simultaneous texture coord sets when multi-texturing", name,
                     (int)m_uiTexCoordSets);
    m_uiVertexStreams = caps.MaxStreams;
    GLog.DebugPrintf("\t%s Device supports up to %i simultaneous vertex streams", name, (int)m_uiVertexStreams);
    if (!(caps.TextureCaps & D3DPTEXTURECAPS_POW2)) {
      m_bNonPow2Textures = true;
      GLog.DebugPrintf("\t%s Device supports non-power of 2 texture dimensions (exc. cube/volume)", name);
    } else {
      m_bNonPow2Textures = false;
      GLog.DebugPrintf("\t%s Device does NOT support non-power of 2 texture dimensions (exc. cube/volume)", name);
    }
    if (!(caps.TextureOpCaps & (D3DTEXOPCAPS_BUMPENVMAP | D3DTEXOPCAPS_BUMPENVMAPLUMINANCE)))
      GLog.DebugPrintf("\t%s Device does NOT support bump mapping", name);

    device->dwCurrentMode = 0;
    device->bWindowed = false;
    device->bConfirmed = false;
    device->MultiSampleType = D3DMULTISAMPLE_NONE;

    TSArray<bool> confirmed;
    if (ConfirmFormats(device, adapter, (int)a, 0, formats, confirmed) == 0)
      GLog.printf("WARNING: Could not confirm any valid display modes on %s device of %s", name,
                  adapter->d3dAdapterIdentifier.Description);

    device->dwNumModes = 0;
    for (int m = 0; m < numModes; ++m) {
      for (int f = 0; f < formats.GetCount(); ++f) {
        if (formats[f] != modes[m].Format || !confirmed[f]) continue;
        if (device->dwNumModes >= (DWORD)ciMaxModes) continue;
        D3DModeInfo& mode = device->modes[device->dwNumModes++];
        mode.Width = modes[m].Width;
        mode.Height = modes[m].Height;
        mode.Format = modes[m].Format;
        mode.RefreshRate = 0;
        mode.dwBehavior = (device->bHWTnL && device->bProgrammableVP) ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                                                                      : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
        if (!UsingZBuffer() && !UsingWBuffer())
          mode.DepthStencilFormat = D3DFMT_UNKNOWN;
        else if (DepthBufferBitDepth() == 32)
          mode.DepthStencilFormat = D3DFMT_D32;
        else if (DepthBufferBitDepth() == 24)
          mode.DepthStencilFormat = D3DFMT_D24X8;
        else if (DepthBufferBitDepth() == 16)
          mode.DepthStencilFormat = D3DFMT_D16;
        else
          mode.DepthStencilFormat = D3DFMT_UNKNOWN;
      }
    }
    GLog.printf("\t\tDetected %i display modes on %s adapter", (int)device->dwNumModes, name);
    for (DWORD m = 0; m < device->dwNumModes; ++m) {
      const D3DModeInfo& mode = device->modes[m];
      GLog.DebugPrintf("\t\t\t%ix%i\t%s\t%s\tDepth: %s", (int)mode.Width, (int)mode.Height,
                       brD3DFormatName(mode.Format), brD3DBehaviourText(mode.dwBehavior).c_str(),
                       brD3DFormatName(mode.DepthStencilFormat));
    }

    // The default: the first 16-bit mode of at least 800x600, else the last mode.
    bool found = false;
    for (DWORD m = 0; m < device->dwNumModes && !found; ++m) {
      const D3DModeInfo& mode = device->modes[m];
      if (mode.Width >= 800 && mode.Height >= 600 &&
          (mode.Format == D3DFMT_R5G6B5 || mode.Format == D3DFMT_X1R5G5B5 || mode.Format == D3DFMT_A1R5G5B5)) {
        device->dwCurrentMode = m;
        found = true;
      }
    }
    if (!found && device->dwNumModes > 0) device->dwCurrentMode = device->dwNumModes - 1;
    device->bConfirmed = true;
    if (device->dwNumModes > 0) {
      adapter->dwNumDevices = 1;
      m_Adapters[a] = *adapter;
    }
  }

  if (m_uiNumAdapters == 0) {
    GLog.WriteLine("WARNING: No adapters detected");
    return false;
  }

  int targetW = 0, targetH = 0;
  if (Windowed()) {
    targetW = configInt("Display", "WindowWidth", 0);
    targetH = configInt("Display", "WindowHeight", 0);
  } else {
    targetW = configInt("Display", "ScreenWidth", 0);
    targetH = configInt("Display", "ScreenHeight", 0);
  }
  const bool safe = configInt("Engine", "Safe", 0) > 0;
  if (safe) {
    targetW = 800;
    targetH = 600;
    configSet("Display", "ScreenWidth", 800);
    configSet("Display", "ScreenHeight", 600);
  }

  m_Resolutions.Clear();
  int chosenAdapter = -1;
  DWORD chosenMode = 0;
  for (unsigned int a = 0; a < adapters; ++a) {
    const D3DDeviceInfo& device = m_Adapters[a].devices[0];
    if (!device.bConfirmed || device.dwNumModes == 0) continue;
    for (DWORD m = 0; m < device.dwNumModes; ++m) {
      const D3DModeInfo& mode = device.modes[m];
      if ((int)mode.Width <= targetW && (int)mode.Height <= targetH) {
        chosenAdapter = (int)a;
        chosenMode = m;
      }
      BrRect size(0.0f, 0.0f, (float)mode.Width, (float)mode.Height);
      bool listed = false;
      for (int r = 0; r < m_Resolutions.GetCount(); ++r)
        if (m_Resolutions[r] == size) listed = true;
      if (!listed) m_Resolutions.Add(size);
    }
  }

  if (chosenAdapter < 0) {
    GLog.printf("\t\tWARNING: Failed to select the suggested resolution of %ix%i", targetW, targetH);
    configSet("Engine", "Safe", 1);
    return false;
  }

  D3DAdapterInfo& adapter = m_Adapters[chosenAdapter];
  D3DDeviceInfo& device = adapter.devices[0];
  const D3DModeInfo& mode = device.modes[chosenMode];
  GLog.printf("\t\tSelected %s device on %s, display mode:", brD3DDevTypeName(device.DeviceType),
              adapter.d3dAdapterIdentifier.Description);
  GLog.printf("\t\t\t%ix%i\t%s\t%s\t%s", (int)mode.Width, (int)mode.Height, brD3DFormatName(mode.Format),
              brD3DBehaviourText(mode.dwBehavior).c_str(), brD3DFormatName(mode.DepthStencilFormat));
  m_iSelectedAdapter = chosenAdapter;
  adapter.dwCurrentDevice = 0;
  device.dwCurrentMode = chosenMode;
  m_bNonPow2Textures = !(device.d3dCaps.TextureCaps & D3DPTEXTURECAPS_POW2);
  m_uiActiveLights = device.d3dCaps.MaxActiveLights;

  configSet("Render", "UseZBuffer", UsingZBuffer() ? 1 : 0);
  configSet("Render", "UseWBuffer", UsingWBuffer() ? 1 : 0);
  if (UsingZBuffer() || UsingWBuffer()) {
    if (mode.DepthStencilFormat == D3DFMT_D32)
      DepthBufferBitDepth() = 32;
    else if (mode.DepthStencilFormat == D3DFMT_D24X8)
      DepthBufferBitDepth() = 24;
    else if (mode.DepthStencilFormat == D3DFMT_D16)
      DepthBufferBitDepth() = 16;
    configSet("Render", "DepthBufferBitDepth", DepthBufferBitDepth());
  }
  configSet("Engine", "Safe", 0);
  // A window keeps its configured size (its back buffer is its client area, listed mode or not); full screen
  // takes the chosen mode. A safe start is the exception: the window size that failed the choice is replaced
  // by the safe one, or the start after it would fail again.
  if (!Windowed()) {
    configSet("Display", "ScreenWidth", (int)mode.Width);
    configSet("Display", "ScreenHeight", (int)mode.Height);
  } else if (safe) {
    configSet("Display", "WindowWidth", (int)mode.Width);
    configSet("Display", "WindowHeight", (int)mode.Height);
  }
  return true;
}

unsigned int BrD3DRenDev::ConfirmFormats(D3DDeviceInfo* device, D3DAdapterInfo* adapter, int ordinal, int index,
                                         TDArray<D3DFORMAT>& formats, TSArray<bool>& confirmed) {
  const int useW = configInt("Render", "UseWBuffer", 0);
  const int useZ = configInt("Render", "UseZBuffer", 0);
  int depth = configInt("Render", "DepthBufferBitDepth", 0);
  const char* name = brD3DDevTypeName(device->DeviceType);

  enum { kNone, kZ, kW } kind = kNone;
  if (useW != 0) {
    if (device->d3dCaps.RasterCaps & D3DPRASTERCAPS_WBUFFER) {
      GLog.DebugPrintf("\t%s Device supports depth buffering in w", name);
      kind = kW;
    } else {
      GLog.DebugPrintf("\t%s Device does NOT support depth buffering in w", name);
      kind = kZ;
    }
  } else {
    kind = useZ > 0 ? kZ : kNone;
  }

  confirmed.SetSize(formats.GetCount());
  unsigned int count = 0;
  const char* description = adapter->d3dAdapterIdentifier.Description;
  for (int k = 0; k < formats.GetCount(); ++k) {
    const D3DFORMAT format = formats[k];
    confirmed[k] = false;
    if (FAILED(m_pD3D->CheckDeviceType(ordinal, device->DeviceType, format, format, !Windowed()))) {
      GLog.printf("\tFAILED: CheckDeviceType(...) on adapter #%i, device %s : format not supported", ordinal, name);
      continue;
    }
    bool depthFailed = false;
    // The chain steps down from the working depth; a failure lowers it for the formats that follow too.
    static const struct {
      int bits;
      D3DFORMAT format;
    } chain[3] = {{32, D3DFMT_D32}, {24, D3DFMT_D24X8}, {16, D3DFMT_D16}};
    for (int c = 0; c < 3; ++c) {
      if (depth != chain[c].bits) continue;
      if (SUCCEEDED(m_pD3D->CheckDeviceFormat(ordinal, device->DeviceType, format, D3DUSAGE_DEPTHSTENCIL,
                                              D3DRTYPE_SURFACE, chain[c].format))) {
        if (DepthAndRenderFormatOK(device, ordinal, index, chain[c].format, format, format)) {
          UsingZBuffer() = (kind == kZ);
          UsingWBuffer() = (kind == kW);
          DepthBufferBitDepth() = chain[c].bits;
        }
        break;
      }
      GLog.printf(
          "\tFAILED: CheckDeviceFormat(...) on %s, device %s : device doesn't support %i-bit depth buffering with "
          "render format %s",
          description, name, chain[c].bits, brD3DFormatName(format));
      if (chain[c].bits == 16) {
        GLog.printf("\tFAILED: Could not support 16-bit depth buffering, switching off depth buffering for next run");
        depth = 0;
        depthFailed = true;
        // What the line promises: without these the next start would walk the same refused chain again and,
        // on an adapter with this one format, never find a mode. A format confirmed with depth still writes
        // its own settings after the choice.
        configSet("Render", "DepthBufferBitDepth", 0);
        configSet("Render", "UseZBuffer", 0);
        configSet("Render", "UseWBuffer", 0);
      } else {
        GLog.printf("\tWARNING: Could not support %i-bit depth buffering, trying %i-bit", chain[c].bits,
                    chain[c + 1].bits);
        depth = chain[c + 1].bits;
      }
    }
    if (depthFailed) continue;
    confirmed[k] = true;
    ++count;
  }
  return count;
}

bool BrD3DRenDev::DepthAndRenderFormatOK(D3DDeviceInfo* device, int ordinal, int index, D3DFORMAT depth,
                                         D3DFORMAT adapterFormat, D3DFORMAT renderFormat) {
  if (SUCCEEDED(m_pD3D->CheckDepthStencilMatch(ordinal, device->DeviceType, adapterFormat, renderFormat, depth)))
    return true;
  GLog.printf(
      "\tFAILED: CheckDepthStencilMatch(...) on adapter #%i, device #%i : 16-bit depth buffering not compatible with "
      "this format (will not be confirmed for use)",
      ordinal, index);
  return false;
}
