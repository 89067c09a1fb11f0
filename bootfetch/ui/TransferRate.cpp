#include "ui/TransferRate.h"

namespace {

const DWORD kShortestSpanMs = 1000;

}  // namespace

void CTransferRate::Add(DWORD tick, std::int64_t bytes) {
  // Fewer bytes than before: the body started over.
  if (!m_samples.empty() && bytes < m_samples.back().bytes) m_samples.clear();
  m_samples.push_back({tick, bytes});
  while (m_samples.size() > 2 && tick - m_samples[1].tick >= kWindowMs) m_samples.pop_front();
}

DWORD CTransferRate::Span() const {
  return m_samples.empty() ? 0 : m_samples.back().tick - m_samples.front().tick;
}

double CTransferRate::BytesPerSecond() const {
  const DWORD span = Span();
  if (span < kShortestSpanMs) return -1.0;
  return static_cast<double>(m_samples.back().bytes - m_samples.front().bytes) * 1000.0 / span;
}

bool CTransferRate::IsSteady() const { return Span() >= kSteadyMs; }
