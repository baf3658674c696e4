#pragma once
// Placeholder: the Color Info page text is being written.
