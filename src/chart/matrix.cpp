// The long-double matrix: Gauss-Jordan with partial pivoting on the complex modulus.
#include "chart/matrix.h"

#include <cmath>
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

}  // namespace quova
