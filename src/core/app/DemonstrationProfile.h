#pragma once

// A newcomer's first start: no settings profile has ever been remembered and no device has been
// configured. Marlix then simulates the controller so that the console answers at once.
bool UseDemonstrationProfile();

// Applies the rule to the link: switches simulation on when it holds. True when it did.
bool ApplyDemonstrationProfile();
