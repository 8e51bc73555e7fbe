// A small matrix of long doubles, real or complex, with the Gauss-Jordan solve the fits use
// and the textbook operations around it.
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
  // this = A^-1 by solving against the identity.
  int inv(const matrix& A);
  // Element-wise and textbook operations; 0 with a message when the output cannot hold it.
  int add(const matrix& a, const matrix& b);
  int sub(const matrix& a, const matrix& b);
  int mult(const matrix& a, const matrix& b);
  void negate();
  long double trace() const;
  void tranp(const matrix& a);
  void equate(const matrix& a);
  // Similarity transforms of a real square matrix: balance scales rows and columns by
  // powers of two so their norms are alike; hess (by houshldr, one Householder reflection
  // per column) leaves this matrix in upper Hessenberg form. Eigenvalues are kept.
  void balance();
  void hess();
  void houshldr(int col);
  long double inner(const matrix& a) const;  // sum of the element products (real parts)
  // The rows as text: "Real Part of <name>" then, when complex, "Imaginary Part of <name>".
  std::string write(std::string_view title) const;

  void errmsg(std::string_view text) const;

 private:
  std::string name_;
  int rows_, cols_, type_;
  std::vector<long double> re_, im_;
};

}  // namespace quova
