// A system of n linear equations in n unknowns, solved by elimination with partial pivoting.
#pragma once

#include <cstddef>
#include <vector>

class CLinearSystem
{
public:
    // n rows of n + 1 doubles each: the coefficients a(i,0) .. a(i,n-1) and the right-hand side.
    // Every coefficient must be passed as a double.
    explicit CLinearSystem(int n, ...);
    CLinearSystem(const CLinearSystem&) = delete;
    CLinearSystem& operator=(const CLinearSystem&) = delete;

    // Solves the system; false when it has no unique solution (singular, or n below 1).
    bool Calculate();
    // Unknown i after a successful Calculate; 0 otherwise or out of range.
    double operator[](int i) const;
    int GetSize() const noexcept { return m_n; }

private:
    double& At(int row, int column) { return m_matrix[static_cast<size_t>(row * (m_n + 1) + column)]; }

    int m_n;
    std::vector<double> m_matrix; // n rows of n + 1 entries
    std::vector<double> m_result;
};
