// A small matrix of long doubles, real or complex, with the Gauss-Jordan solve the fits use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quova {

class matrix {
 public:
  matrix(std::string_view name, int rows, int cols, int type = 0);  // type 0 real, 1 complex

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  int type() const { return type_; }
  const std::string& name() const { return name_; }
  long double& re(int r, int c) { return re_[r * cols_ + c]; }
  long double re(int r, int c) const { return re_[r * cols_ + c]; }
  long double& im(int r, int c) { return im_[r * cols_ + c]; }
  long double im(int r, int c) const { return type_ ? im_[r * cols_ + c] : 0.0L; }

  // Row-major values in (as many as fit).
  void load(const long double* values);
  void load(const long double* re, const long double* im);
  // The real parts of m (same size) into this matrix.
  void unload_r(const matrix& m);
  // this = A^-1 * B; 1 on success, 0 (after errmsg) when A is singular.
  int solve(const matrix& A, const matrix& B);

  void errmsg(std::string_view text) const;

 private:
  std::string name_;
  int rows_, cols_, type_;
  std::vector<long double> re_, im_;
};

}  // namespace quova
