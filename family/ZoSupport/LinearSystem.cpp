#include "LinearSystem.h"

#include <cmath>
#include <cstdarg>
#include <utility>

CLinearSystem::CLinearSystem(int n, ...) : m_n(n > 0 ? n : 0)
{
    m_matrix.resize(static_cast<size_t>(m_n * (m_n + 1)));
    va_list args;
    va_start(args, n);
    for (double& entry : m_matrix)
        entry = va_arg(args, double);
    va_end(args);
}

bool CLinearSystem::Calculate()
{
    m_result.clear();
    if (m_n < 1)
        return false;
    double largest = 0.0;
    for (double entry : m_matrix)
    {
        if (!std::isfinite(entry))
            return false;
        largest = std::max(largest, std::fabs(entry));
    }
    // A pivot this small relative to the matrix means the rows are dependent.
    const double tolerance = largest * 1e-12;
    for (int column = 0; column < m_n; ++column)
    {
        int pivot = column;
        for (int row = column + 1; row < m_n; ++row)
            if (std::fabs(At(row, column)) > std::fabs(At(pivot, column)))
                pivot = row;
        if (std::fabs(At(pivot, column)) <= tolerance || At(pivot, column) == 0.0)
            return false;
        if (pivot != column)
            for (int k = column; k <= m_n; ++k)
                std::swap(At(pivot, k), At(column, k));
        for (int row = column + 1; row < m_n; ++row)
        {
            const double factor = At(row, column) / At(column, column);
            for (int k = column; k <= m_n; ++k)
                At(row, k) -= factor * At(column, k);
        }
    }
    std::vector<double> result(static_cast<size_t>(m_n));
    for (int row = m_n - 1; row >= 0; --row)
    {
        double sum = At(row, m_n);
        for (int k = row + 1; k < m_n; ++k)
            sum -= At(row, k) * result[static_cast<size_t>(k)];
        result[static_cast<size_t>(row)] = sum / At(row, row);
    }
    m_result = std::move(result);
    return true;
}

double CLinearSystem::operator[](int i) const
{
    return i >= 0 && i < static_cast<int>(m_result.size()) ? m_result[static_cast<size_t>(i)] : 0.0;
}
