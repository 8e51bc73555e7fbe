// The long-double matrix: Gauss-Jordan with partial pivoting on the complex modulus.
#include "chart/matrix.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "base/host.h"
#include "base/log.h"

namespace quova {

matrix::matrix(std::string_view name, int rows, int cols, int type)
    : name_(name.substr(0, 80)),
      rows_(rows < 0 ? 0 : rows),
      cols_(cols < 0 ? 0 : cols),
      type_(type ? 1 : 0),
      re_(static_cast<std::size_t>(rows_) * cols_, 0.0L),
      im_(type_ ? re_.size() : 0, 0.0L) {}

void matrix::load(const long double* values) {
  for (std::size_t i = 0; i < re_.size(); ++i) re_[i] = values[i];
}

void matrix::load(const long double* re, const long double* im) {
  load(re);
  for (std::size_t i = 0; i < im_.size(); ++i) im_[i] = im[i];
}

void matrix::unload_r(const matrix& m) {
  for (int r = 0; r < rows_ && r < m.rows_; ++r)
    for (int c = 0; c < cols_ && c < m.cols_; ++c) re(r, c) = m.re(r, c);
}

void matrix::errmsg(std::string_view text) const {
  MessageBox(text, "Fits/Subroutine Solve Error", mb::OK | mb::ICONEXCLAMATION);
}

int matrix::solve(const matrix& A, const matrix& B) {
  const int n = A.rows_, nb = B.cols_, w = n + nb;
  if (A.cols_ != n || B.rows_ != n || rows_ != n || cols_ != nb) {
    errmsg("WARNING...matrix singular...computations NOT completed");
    return 0;
  }
  const bool cx = A.type_ || B.type_;
  // Work = [A | B], Tempv the swap row.
  std::vector<long double> wr(static_cast<std::size_t>(n) * w), wi(cx ? wr.size() : 0);
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      wr[r * w + c] = A.re(r, c);
      if (cx) wi[r * w + c] = A.im(r, c);
    }
    for (int c = 0; c < nb; ++c) {
      wr[r * w + n + c] = B.re(r, c);
      if (cx) wi[r * w + n + c] = B.im(r, c);
    }
  }
  auto modulus = [&](int r, int c) {
    return cx ? std::hypot(wr[r * w + c], wi[r * w + c]) : std::fabs(wr[r * w + c]);
  };
  for (int c = 0; c < n; ++c) {
    int piv = c;
    long double best = modulus(c, c);
    for (int r = c + 1; r < n; ++r)
      if (long double m = modulus(r, c); m > best) best = m, piv = r;
    if (!(best > 0)) {
      errmsg("WARNING...matrix singular...computations NOT completed");
      return 0;
    }
    if (piv != c)
      for (int k = 0; k < w; ++k) {
        std::swap(wr[piv * w + k], wr[c * w + k]);
        if (cx) std::swap(wi[piv * w + k], wi[c * w + k]);
      }
    // Divide row c by its pivot.
    const long double pr = wr[c * w + c], pi = cx ? wi[c * w + c] : 0.0L;
    const long double den = pr * pr + pi * pi;
    for (int k = c; k < w; ++k) {
      const long double a = wr[c * w + k], b = cx ? wi[c * w + k] : 0.0L;
      if (cx) {
        wr[c * w + k] = (a * pr + b * pi) / den;
        wi[c * w + k] = (b * pr - a * pi) / den;
      } else {
        wr[c * w + k] = a / pr;
      }
    }
    for (int r = 0; r < n; ++r) {
      if (r == c) continue;
      const long double fr = wr[r * w + c], fi = cx ? wi[r * w + c] : 0.0L;
      if (fr == 0 && fi == 0) continue;
      for (int k = c; k < w; ++k) {
        const long double a = wr[c * w + k], b = cx ? wi[c * w + k] : 0.0L;
        wr[r * w + k] -= fr * a - fi * b;
        if (cx) wi[r * w + k] -= fr * b + fi * a;
      }
    }
  }
  if (cx && !type_) {
    type_ = 1;
    im_.assign(re_.size(), 0.0L);
  }
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < nb; ++c) {
      re(r, c) = wr[r * w + n + c];
      if (type_) im(r, c) = cx ? wi[r * w + n + c] : 0.0L;
    }
  return 1;
}

int matrix::inv(const matrix& A) {
  matrix I("identity", A.rows_, A.rows_);
  for (int i = 0; i < A.rows_; ++i) I.re(i, i) = 1;
  return solve(A, I);
}

int matrix::add(const matrix& a, const matrix& b) {
  if (a.rows_ != b.rows_ || a.cols_ != b.cols_ || rows_ != a.rows_ || cols_ != a.cols_ ||
      (type_ < (a.type_ | b.type_))) {
    MessageBox("Output matrix type error in add \n", name_, mb::OK);
    return 0;
  }
  for (std::size_t i = 0; i < re_.size(); ++i) {
    re_[i] = a.re_[i] + b.re_[i];
    if (type_) im_[i] = (a.type_ ? a.im_[i] : 0) + (b.type_ ? b.im_[i] : 0);
  }
  return 1;
}

int matrix::sub(const matrix& a, const matrix& b) {
  if (a.rows_ != b.rows_ || a.cols_ != b.cols_ || rows_ != a.rows_ || cols_ != a.cols_ ||
      (type_ < (a.type_ | b.type_))) {
    MessageBox("Output matrix type error in mmsub \n", name_, mb::OK);
    return 0;
  }
  for (std::size_t i = 0; i < re_.size(); ++i) {
    re_[i] = a.re_[i] - b.re_[i];
    if (type_) im_[i] = (a.type_ ? a.im_[i] : 0) - (b.type_ ? b.im_[i] : 0);
  }
  return 1;
}

int matrix::mult(const matrix& a, const matrix& b) {
  if (a.cols_ != b.rows_ || rows_ != a.rows_ || cols_ != b.cols_ || (type_ < (a.type_ | b.type_)))
    return 0;
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < cols_; ++c) {
      long double sr = 0, si = 0;
      for (int k = 0; k < a.cols_; ++k) {
        sr += a.re(r, k) * b.re(k, c) - a.im(r, k) * b.im(k, c);
        si += a.re(r, k) * b.im(k, c) + a.im(r, k) * b.re(k, c);
      }
      re(r, c) = sr;
      if (type_) im(r, c) = si;
    }
  return 1;
}

void matrix::negate() {
  for (auto& v : re_) v = -v;
  for (auto& v : im_) v = -v;
}

long double matrix::trace() const {
  long double t = 0;
  for (int i = 0; i < rows_ && i < cols_; ++i) t += re(i, i);
  return t;
}

void matrix::tranp(const matrix& a) {
  *this = matrix(name_, a.cols_, a.rows_, a.type_);
  for (int r = 0; r < a.rows_; ++r)
    for (int c = 0; c < a.cols_; ++c) {
      re(c, r) = a.re(r, c);
      if (type_) im(c, r) = a.im(r, c);
    }
}

void matrix::equate(const matrix& a) {
  const std::string keep = name_;
  *this = a;
  name_ = keep;
}

long double matrix::inner(const matrix& a) const {
  long double s = 0;
  for (std::size_t i = 0; i < re_.size() && i < a.re_.size(); ++i) s += re_[i] * a.re_[i];
  return s;
}

void matrix::balance() {
  if (rows_ != cols_) return;
  const int n = rows_;
  for (bool done = false; !done;) {
    done = true;
    for (int i = 0; i < n; ++i) {
      long double r = 0, c = 0;
      for (int j = 0; j < n; ++j)
        if (j != i) c += std::fabs(re(j, i)), r += std::fabs(re(i, j));
      if (c == 0 || r == 0) continue;
      long double f = 1, g = r / 2;
      const long double s = c + r;
      while (c < g) f *= 2, c *= 4;
      g = r * 2;
      while (c > g) f /= 2, c /= 4;
      if ((c + r) / f < 0.95L * s) {
        done = false;
        for (int j = 0; j < n; ++j) re(i, j) /= f;
        for (int j = 0; j < n; ++j) re(j, i) *= f;
      }
    }
  }
}

void matrix::houshldr(int col) {
  const int n = rows_;
  if (col < 0 || col + 2 >= n) return;
  long double alpha = 0;
  for (int i = col + 1; i < n; ++i) alpha += re(i, col) * re(i, col);
  alpha = std::sqrt(alpha);
  if (alpha == 0) return;
  if (re(col + 1, col) > 0) alpha = -alpha;
  std::vector<long double> v(n, 0.0L);
  v[col + 1] = re(col + 1, col) - alpha;
  for (int i = col + 2; i < n; ++i) v[i] = re(i, col);
  long double vv = 0;
  for (long double e : v) vv += e * e;
  if (vv == 0) return;
  // A = H A H with H = I - 2 v v' / v'v.
  for (int j = 0; j < n; ++j) {
    long double d = 0;
    for (int i = col + 1; i < n; ++i) d += v[i] * re(i, j);
    d = 2 * d / vv;
    for (int i = col + 1; i < n; ++i) re(i, j) -= d * v[i];
  }
  for (int i = 0; i < n; ++i) {
    long double d = 0;
    for (int j = col + 1; j < n; ++j) d += re(i, j) * v[j];
    d = 2 * d / vv;
    for (int j = col + 1; j < n; ++j) re(i, j) -= d * v[j];
  }
  for (int i = col + 2; i < n; ++i) re(i, col) = 0;
}

void matrix::hess() {
  if (rows_ != cols_) return;
  for (int c = 0; c + 2 < rows_; ++c) houshldr(c);
}

std::string matrix::write(std::string_view title) const {
  std::string out;
  char t[64];
  auto part = [&](const char* what, bool imag) {
    out += std::string(title) + " " + what + " " + name_ + "\n";
    for (int r = 0; r < rows_; ++r) {
      for (int c = 0; c < cols_; ++c) {
        std::snprintf(t, sizeof t, " %12.5Lg", imag ? im(r, c) : re(r, c));
        out += t;
      }
      out += "\n";
    }
  };
  part("Real Part of", false);
  if (type_) part("Imaginary Part of", true);
  return out;
}

}  // namespace quova
