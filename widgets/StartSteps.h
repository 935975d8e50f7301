#pragma once
// Marks in the start-up for the start benchmark (bench/, ReplimarKORVELL-steps), which prints
// how long each step took. In the program itself every mark compiles to nothing.
#ifdef REPLIMAR_START_STEPS
// Notes the time since the process was created under the name of the step just finished.
void StartStep(const wchar_t* name);
// Writes the steps noted so far to the file that REPLIMAR_START_STEPS_FILE names, once.
void StartStepsDone();
#else
inline void StartStep(const wchar_t*) {}
inline void StartStepsDone() {}
#endif
