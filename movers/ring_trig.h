// Sine and cosine for the ring of balls, the same to the last bit on every build.
#pragma once

// Sets *s and *c to sin and cos of the angle, each the double nearest the true value. The
// ring truncates radius x sine to whole cells, so a last-bit difference between two C
// runtimes' sin could move a ball by a cell; these are computed from additions,
// multiplications and divisions alone, which every IEEE 754 machine rounds alike.
// Angles are taken up to a million radians either way; beyond that, or for an angle that is
// not a number, both results are NaN.
void RingSinCos(double radians, double* s, double* c);
