// The vs_1_1 assembler: text lines to the token stream the device decodes, with errors naming the line.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/d3d9/d3d9shadertokens.h"
#include "platform/d3dx9/BrD3DXInternal.h"

namespace brd3dx {
namespace {

struct Opcode {
  const char* name;
  uint32_t code;
  int sources;
};

const Opcode kOpcodes[] = {
    {"mov", D3DSIO_MOV, 1}, {"add", D3DSIO_ADD, 2}, {"sub", D3DSIO_SUB, 2}, {"mul", D3DSIO_MUL, 2},
    {"mad", D3DSIO_MAD, 3}, {"min", D3DSIO_MIN, 2}, {"max", D3DSIO_MAX, 2}, {"dp3", D3DSIO_DP3, 2},
    {"dp4", D3DSIO_DP4, 2}, {"rcp", D3DSIO_RCP, 1}, {"rsq", D3DSIO_RSQ, 1}, {"m4x4", D3DSIO_M4x4, 2},
};

struct Usage {
  const char* name;
  uint32_t usage;
};

// Longest names first, so "positiont" is not read as "position" followed by garbage.
const Usage kUsages[] = {
    {"blendweight", D3DDECLUSAGE_BLENDWEIGHT},
    {"blendindices", D3DDECLUSAGE_BLENDINDICES},
    {"tessfactor", D3DDECLUSAGE_TESSFACTOR},
    {"positiont", D3DDECLUSAGE_POSITIONT},
    {"position", D3DDECLUSAGE_POSITION},
    {"texcoord", D3DDECLUSAGE_TEXCOORD},
    {"binormal", D3DDECLUSAGE_BINORMAL},
    {"tangent", D3DDECLUSAGE_TANGENT},
    {"normal", D3DDECLUSAGE_NORMAL},
    {"sample", D3DDECLUSAGE_SAMPLE},
    {"color", D3DDECLUSAGE_COLOR},
    {"depth", D3DDECLUSAGE_DEPTH},
    {"psize", D3DDECLUSAGE_PSIZE},
    {"fog", D3DDECLUSAGE_FOG},
};

// Register limits of the assembler (those of the device), and vs_1_1's instruction slots (m4x4 takes four).
const uint32_t kInputs = 16, kTemps = 12, kConsts = 96, kTexOut = 3, kMaxSlots = 128;

class Assembler {
public:
  bool run(const char* text, size_t length, std::vector<uint32_t>& tokens, std::string& error);

private:
  bool fail(const char* fmt, const std::string& arg = std::string());
  bool parseLine(std::string line);
  bool parseRegister(const std::string& text, uint32_t& type, uint32_t& number, std::string& suffix, bool& negate);
  bool parseDest(const std::string& text, uint32_t& token);
  bool parseSource(const std::string& text, uint32_t& token, uint32_t span);
  // Fails when a temporary of the source is read in a component no earlier instruction wrote. The components
  // read are those of the source's swizzle the instruction uses: reads names them by destination component.
  bool checkTempRead(const std::string& text, uint32_t token, uint32_t span, const int reads[4]);

  std::vector<uint32_t>* mTokens = nullptr;
  std::string* mError = nullptr;
  int mLine = 0;
  bool mVersionSeen = false;
  uint32_t mDeclared = 0;
  uint16_t mUsagesDeclared[16] = {};  // per usage, a bit per usage index declared
  uint32_t mSlots = 0;
  uint8_t mTempWritten[kTemps] = {};  // components written, a bit each
  bool mPosWritten = false;
  int mLastContent = 1;  // the last line with an instruction, named by errors found at the end
};

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool parseNumber(const std::string& s, size_t& pos, uint32_t& value) {
  const size_t start = pos;
  value = 0;
  while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])) && pos - start < 6)
    value = value * 10 + uint32_t(s[pos++] - '0');
  return pos > start && !(pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])));
}

int component(char c) {
  switch (c) {
    case 'x':
    case 'r': return 0;
    case 'y':
    case 'g': return 1;
    case 'z':
    case 'b': return 2;
    case 'w':
    case 'a': return 3;
    default: return -1;
  }
}

bool Assembler::fail(const char* fmt, const std::string& arg) {
  char what[256];
  std::snprintf(what, sizeof what, fmt, arg.c_str());
  char buf[320];
  std::snprintf(buf, sizeof buf, "(%d): error: %s", mLine, what);
  *mError = buf;
  return false;
}

bool Assembler::parseRegister(const std::string& text, uint32_t& type, uint32_t& number, std::string& suffix,
                              bool& negate) {
  std::string t = trim(text);
  negate = false;
  if (!t.empty() && t[0] == '-') {
    negate = true;
    t = trim(t.substr(1));
  }
  const size_t dot = t.find('.');
  const std::string name = lower(t.substr(0, dot));
  suffix = dot == std::string::npos ? std::string() : lower(t.substr(dot + 1));
  if (name.empty()) return fail("missing register");
  if (name.find('[') != std::string::npos) return fail("relative addressing is not supported: '%s'", t);
  size_t pos = 1;
  if (name == "opos") {
    type = D3DSPR_RASTOUT;
    number = D3DSRO_POSITION;
    return true;
  }
  if (name.size() >= 3 && name[0] == 'o' && (name[1] == 'd' || name[1] == 't')) {
    pos = 2;
    if (!parseNumber(name, pos, number) || pos != name.size()) return fail("bad register '%s'", t);
    if (name[1] == 'd') {
      if (number != 0) return fail("unsupported output register '%s' (oD0 only)", t);
      type = D3DSPR_ATTROUT;
    } else {
      if (number >= kTexOut) return fail("unsupported output register '%s' (oT0 to oT2)", t);
      type = D3DSPR_TEXCRDOUT;
    }
    return true;
  }
  if (!parseNumber(name, pos, number) || pos != name.size()) return fail("bad register '%s'", t);
  switch (name[0]) {
    case 'r':
      type = D3DSPR_TEMP;
      if (number >= kTemps) return fail("temporary register out of range: '%s'", t);
      return true;
    case 'v':
      type = D3DSPR_INPUT;
      if (number >= kInputs) return fail("input register out of range: '%s'", t);
      return true;
    case 'c':
      type = D3DSPR_CONST;
      if (number >= kConsts) return fail("constant register out of range: '%s'", t);
      return true;
    default: return fail("unknown register '%s'", t);
  }
}

bool Assembler::parseDest(const std::string& text, uint32_t& token) {
  uint32_t type, number;
  std::string suffix;
  bool negate;
  if (!parseRegister(text, type, number, suffix, negate)) return false;
  if (negate) return fail("a destination cannot be negated: '%s'", trim(text));
  if (type == D3DSPR_INPUT || type == D3DSPR_CONST) return fail("cannot write to '%s'", trim(text));
  uint32_t mask = 0xF;
  if (!suffix.empty()) {
    mask = 0;
    int last = -1;
    for (char c : suffix) {
      const int k = component(c);
      // Components of a write mask come in order, each once.
      if (k < 0 || k <= last || suffix.size() > 4) return fail("bad write mask in '%s'", trim(text));
      mask |= 1u << k;
      last = k;
    }
  }
  token = brShaderRegToken(type, number) | (mask << D3DSP_WRITEMASK_SHIFT);
  return true;
}

bool Assembler::parseSource(const std::string& text, uint32_t& token, uint32_t span) {
  uint32_t type, number;
  std::string suffix;
  bool negate;
  if (!parseRegister(text, type, number, suffix, negate)) return false;
  if (type != D3DSPR_TEMP && type != D3DSPR_INPUT && type != D3DSPR_CONST)
    return fail("cannot read from '%s'", trim(text));
  const uint32_t limit = type == D3DSPR_TEMP ? kTemps : type == D3DSPR_INPUT ? kInputs : kConsts;
  if (number + span > limit) return fail("register range out of bounds at '%s'", trim(text));
  if (type == D3DSPR_INPUT)
    for (uint32_t k = 0; k < span; ++k)
      if (!(mDeclared & (1u << (number + k)))) return fail("input register read without a dcl: '%s'", trim(text));
  uint32_t swizzle = 0xE4;
  if (!suffix.empty()) {
    if (suffix.size() > 4) return fail("bad swizzle in '%s'", trim(text));
    int comps[4];
    for (size_t i = 0; i < 4; ++i) {
      // A short swizzle repeats its last component.
      const char c = i < suffix.size() ? suffix[i] : suffix.back();
      comps[i] = component(c);
      if (comps[i] < 0) return fail("bad swizzle in '%s'", trim(text));
    }
    swizzle = uint32_t(comps[0] | (comps[1] << 2) | (comps[2] << 4) | (comps[3] << 6));
  }
  if (span > 1 && (swizzle != 0xE4 || negate))
    return fail("a matrix source takes no swizzle or negation: '%s'", trim(text));
  token = brShaderRegToken(type, number) | (swizzle << D3DVS_SWIZZLE_SHIFT) |
          ((negate ? uint32_t(D3DSPSM_NEG) : 0u) << D3DSP_SRCMOD_SHIFT);
  return true;
}

bool Assembler::checkTempRead(const std::string& text, uint32_t token, uint32_t span, const int reads[4]) {
  if (brShaderRegType(token) != D3DSPR_TEMP) return true;
  const uint32_t swizzle = (token >> D3DVS_SWIZZLE_SHIFT) & 0xFF;
  uint32_t needed = 0;
  for (int k = 0; k < 4; ++k)
    if (reads[k]) needed |= 1u << ((swizzle >> (2 * k)) & 3);
  const uint32_t first = token & D3DSP_REGNUM_MASK;
  for (uint32_t r = first; r < first + span && r < kTemps; ++r)
    if ((mTempWritten[r] & needed) != needed)
      return fail("temporary register read before it is written: '%s'", trim(text));
  return true;
}

bool Assembler::parseLine(std::string line) {
  // Comments run from // or ; to the end of the line.
  const size_t c1 = line.find("//"), c2 = line.find(';');
  line = trim(line.substr(0, std::min(c1, c2)));
  if (line.empty()) return true;
  mLastContent = mLine;
  size_t end = 0;
  while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
  const std::string op = lower(line.substr(0, end));
  const std::string rest = trim(line.substr(end));
  if (!mVersionSeen) {
    if ((op == "vs.1.1" || op == "vs_1_1") && rest.empty()) {
      mVersionSeen = true;
      mTokens->push_back(D3DVS_VERSION_1_1);
      return true;
    }
    return fail("expected vs.1.1 or vs_1_1 before '%s'", line);
  }
  if (op == "vs.1.1" || op == "vs_1_1") return fail("second version line");
  std::vector<std::string> operands;
  if (!rest.empty()) {
    size_t start = 0;
    for (;;) {
      const size_t comma = rest.find(',', start);
      operands.push_back(trim(rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  for (const std::string& o : operands)
    if (o.empty()) return fail("empty operand in '%s'", line);
  if (op.compare(0, 4, "dcl_") == 0) {
    const std::string u = op.substr(4);
    for (const Usage& usage : kUsages) {
      const size_t n = std::strlen(usage.name);
      if (u.compare(0, n, usage.name) != 0) continue;
      uint32_t index = 0;
      size_t pos = n;
      if (pos < u.size() && (!parseNumber(u, pos, index) || pos != u.size() || index > 15))
        return fail("bad usage index in '%s'", op);
      if (pos != u.size()) continue;
      if (operands.size() != 1) return fail("dcl takes one register: '%s'", line);
      // Two inputs of one usage and index would leave the declaration no way to tell which stream feeds which.
      if (mUsagesDeclared[usage.usage & 15] & (1u << index)) return fail("usage declared twice: '%s'", line);
      mUsagesDeclared[usage.usage & 15] |= uint16_t(1u << index);
      uint32_t type, number;
      std::string suffix;
      bool negate;
      if (!parseRegister(operands[0], type, number, suffix, negate)) return false;
      if (type != D3DSPR_INPUT || negate) return fail("dcl needs an input register: '%s'", line);
      if (mDeclared & (1u << number)) return fail("input register declared twice: '%s'", line);
      mDeclared |= 1u << number;
      mTokens->push_back(D3DSIO_DCL | (2u << D3DSI_INSTLENGTH_SHIFT));
      mTokens->push_back(D3DSP_TOKEN_BIT | (usage.usage << D3DSP_DCL_USAGE_SHIFT) |
                         (index << D3DSP_DCL_USAGEINDEX_SHIFT));
      mTokens->push_back(brShaderRegToken(D3DSPR_INPUT, number) | D3DSP_WRITEMASK_ALL);
      return true;
    }
    return fail("unknown declaration '%s'", op);
  }
  for (const Opcode& o : kOpcodes) {
    if (op != o.name) continue;
    if (int(operands.size()) != 1 + o.sources) return fail("wrong number of operands in '%s'", line);
    mSlots += o.code == D3DSIO_M4x4 ? 4 : 1;
    if (mSlots > kMaxSlots) return fail("more than 128 instruction slots at '%s'", line);
    uint32_t params[4] = {0, 0, 0, 0};
    if (!parseDest(operands[0], params[0])) return false;
    const uint32_t mask = (params[0] >> D3DSP_WRITEMASK_SHIFT) & 0xF;
    // The components each source is read in: by destination component for the per-component operations,
    // all four (or three) for the products, the replicated last one for the scalar operations.
    int reads[4] = {0, 0, 0, 0};
    for (int k = 0; k < 4; ++k) {
      switch (o.code) {
        case D3DSIO_DP3: reads[k] = k < 3; break;
        case D3DSIO_DP4:
        case D3DSIO_M4x4: reads[k] = 1; break;
        case D3DSIO_RCP:
        case D3DSIO_RSQ: reads[k] = k == 3; break;
        default: reads[k] = (mask >> k) & 1; break;
      }
    }
    for (int s = 0; s < o.sources; ++s) {
      const uint32_t span = (o.code == D3DSIO_M4x4 && s == 1) ? 4 : 1;
      if (!parseSource(operands[1 + s], params[1 + s], span)) return false;
      if (!checkTempRead(operands[1 + s], params[1 + s], span, reads)) return false;
    }
    if (brShaderRegType(params[0]) == D3DSPR_RASTOUT) mPosWritten = true;
    if (brShaderRegType(params[0]) == D3DSPR_TEMP) mTempWritten[params[0] & D3DSP_REGNUM_MASK] |= uint8_t(mask);
    mTokens->push_back(o.code | (uint32_t(1 + o.sources) << D3DSI_INSTLENGTH_SHIFT));
    for (int i = 0; i <= o.sources; ++i) mTokens->push_back(params[i]);
    return true;
  }
  return fail("unknown instruction '%s'", op);
}

bool Assembler::run(const char* text, size_t length, std::vector<uint32_t>& tokens, std::string& error) {
  mTokens = &tokens;
  mError = &error;
  tokens.clear();
  size_t start = 0;
  mLine = 0;
  while (start <= length) {
    size_t end = start;
    while (end < length && text[end] != '\n' && text[end] != '\0') ++end;
    ++mLine;
    if (!parseLine(std::string(text + start, end - start))) return false;
    if (end >= length || text[end] == '\0') break;
    start = end + 1;
  }
  mLine = mLastContent;
  if (!mVersionSeen) return fail("no vs.1.1 or vs_1_1 version line");
  if (!mPosWritten) return fail("oPos is never written");
  tokens.push_back(D3DSIO_END);
  return true;
}

}  // namespace

bool assembleVs(const char* text, size_t length, std::vector<uint32_t>& tokens, std::string& error) {
  return Assembler().run(text, length, tokens, error);
}

}  // namespace brd3dx
