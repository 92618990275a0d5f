#pragma once
// Placeholder until the host interface lands.
