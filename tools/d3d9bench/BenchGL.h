// The benches' one OpenGL program builder: compiles two stages and links them, for plain-OpenGL reference paths.
#pragma once

#include <epoxy/gl.h>

#include <string>

namespace bench {

// Links a program from vertex and fragment GLSL; 0 on failure, with the compiler's or linker's log in *log.
inline GLuint linkProgram(const char* vertexText, const char* fragmentText, std::string* log = nullptr) {
  auto compile = [log](GLenum type, const char* text) {
    GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &text, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok && log) {
      char text2[1024] = {0};
      glGetShaderInfoLog(s, sizeof text2 - 1, nullptr, text2);
      *log += text2;
    }
    return s;
  };
  const GLuint vs = compile(GL_VERTEX_SHADER, vertexText), fs = compile(GL_FRAGMENT_SHADER, fragmentText);
  const GLuint p = glCreateProgram();
  glAttachShader(p, vs);
  glAttachShader(p, fs);
  glLinkProgram(p);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    if (log) {
      char text[1024] = {0};
      glGetProgramInfoLog(p, sizeof text - 1, nullptr, text);
      *log += text;
    }
    glDeleteProgram(p);
    return 0;
  }
  return p;
}

}  // namespace bench
