// The dense solvers of the fits' normal equations, in long double.
#pragma once

namespace quova {

// Solves the augmented rows [A | b] (k x (k + 1), row-major) in place by elimination with
// partial pivoting; the solution ends in the last column. False when singular.
bool solveAugmented(long double* w, int k);
// The same on a symmetric system while every pivot is its column's diagonal element: 1
// solved, 0 singular, -1 when partial pivoting would pick another row (then the caller
// solves the full system by solveAugmented).
int solveSymmetric(long double* w, int k);

}  // namespace quova
