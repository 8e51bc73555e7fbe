// The long-double matrix: Gauss-Jordan with partial pivoting on the complex modulus.
#include "chart/matrix.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
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

namespace {

// The row of largest modulus in column c from row c down, or -1 when that column is zero
// there (the matrix is singular).
int pivotRow(const long double* wr, int n, int w, int c) {
  int piv = c;
  long double best = std::fabs(wr[c * w + c]);
  for (int r = c + 1; r < n; ++r)
    if (long double m = std::fabs(wr[r * w + c]); m > best) best = m, piv = r;
  return best > 0 ? piv : -1;
}

// Row r minus f times row p from column `from` on.
void subtractRow(long double* r, const long double* p, long double f, int from, int w) {
  for (int k = from; k < w; ++k) r[k] -= f * p[k];
}

// solve() on the real work rows [A | B] (n rows of width w): the same steps without the
// imaginary parts, whose terms are exact zeros there, so the same values. Long doubles are
// slow to load and store, so the steps of two columns are taken in one pass over each
// row: every element still gets the two steps' subtractions in their order.
bool gaussJordanReal(long double* wr, int n, int w) {
  auto row = [&](int r) { return wr + static_cast<std::ptrdiff_t>(r) * w; };
  auto normalise = [&](int c) {
    long double* pr = row(c);
    const long double p = pr[c];
    for (int k = c; k < w; ++k) pr[k] = pr[k] / p;
  };
  std::vector<long double> f(static_cast<std::size_t>(n));
  int c = 0;
  for (; c + 1 < n; c += 2) {
    // Column c's step, on column c + 1 only for now.
    int piv = pivotRow(wr, n, w, c);
    if (piv < 0) return false;
    if (piv != c) std::swap_ranges(row(c), row(c) + w, row(piv));
    normalise(c);
    const long double* pc = row(c);
    for (int r = 0; r < n; ++r) {
      f[r] = row(r)[c];
      if (r != c && f[r] != 0) row(r)[c + 1] -= f[r] * pc[c + 1];
    }
    // Column c + 1's pivot; its row gets the rest of column c's step before it divides.
    piv = pivotRow(wr, n, w, c + 1);
    if (piv < 0) return false;
    if (piv != c + 1) {
      std::swap_ranges(row(c + 1), row(c + 1) + w, row(piv));
      std::swap(f[c + 1], f[piv]);
    }
    long double* p1 = row(c + 1);
    if (f[c + 1] != 0) {
      p1[c] -= f[c + 1] * pc[c];
      subtractRow(p1, pc, f[c + 1], c + 2, w);
    }
    normalise(c + 1);
    // Every other row gets both steps, element by element; row c, which the first step
    // reads, gets the second last.
    for (int r = 0; r < n; ++r) {
      if (r == c || r == c + 1) continue;
      long double* e = row(r);
      const long double fr = f[r];
      if (fr != 0) e[c] -= fr * pc[c];
      const long double g = e[c + 1];
      if (g == 0) {
        if (fr != 0) subtractRow(e, pc, fr, c + 2, w);
        continue;
      }
      e[c + 1] -= g * p1[c + 1];
      if (fr == 0) {
        subtractRow(e, p1, g, c + 2, w);
        continue;
      }
      for (int k = c + 2; k < w; ++k) e[k] = (e[k] - fr * pc[k]) - g * p1[k];
    }
    if (const long double g = row(c)[c + 1]; g != 0) subtractRow(row(c), p1, g, c + 1, w);
  }
  if (c < n) {
    const int piv = pivotRow(wr, n, w, c);
    if (piv < 0) return false;
    if (piv != c) std::swap_ranges(row(c), row(c) + w, row(piv));
    normalise(c);
    for (int r = 0; r < n; ++r)
      if (const long double fr = row(r)[c]; r != c && fr != 0) subtractRow(row(r), row(c), fr, c, w);
  }
  return true;
}

}  // namespace

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
  if (!cx) {
    if (!gaussJordanReal(wr.data(), n, w)) {
      errmsg("WARNING...matrix singular...computations NOT completed");
      return 0;
    }
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < nb; ++c) re(r, c) = wr[r * w + n + c];
    if (type_) std::fill(im_.begin(), im_.end(), 0.0L);
    return 1;
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
