// SPDX-License-Identifier: GPL-3.0-or-later
/* The sound library's flat interface, in the shape of FMOD Ex's, played through SDL_mixer.
   XM modules play as music, everything else as samples. A result of FMOD_OK is success. */
#pragma once

typedef enum {
    FMOD_OK = 0,
    FMOD_ERR_CHANNEL_ALLOC,  /* no mixer channel could be had for the sound */
    FMOD_ERR_FILE_NOTFOUND,  /* the file does not exist or cannot be read */
    FMOD_ERR_FORMAT,         /* the file is no sound that can be played */
    FMOD_ERR_INITIALIZED,    /* the system is already initialised */
    FMOD_ERR_INVALID_HANDLE, /* a null or released system, sound or channel */
    FMOD_ERR_INVALID_PARAM,  /* an argument out of range */
    FMOD_ERR_MEMORY,         /* out of memory */
    FMOD_ERR_OUTPUT_INIT,    /* no audio output, not even the silent one, could be opened */
    FMOD_ERR_UNINITIALIZED,  /* the system has not been initialised */
    FMOD_RESULT_COUNT
} FMOD_RESULT;

typedef struct FMOD_SYSTEM FMOD_SYSTEM;
typedef struct FMOD_SOUND FMOD_SOUND;
typedef struct FMOD_CHANNEL FMOD_CHANNEL;
typedef int FMOD_BOOL;
typedef unsigned int FMOD_MODE;
typedef unsigned int FMOD_INITFLAGS;
typedef int FMOD_CHANNELINDEX;
typedef struct FMOD_CREATESOUNDEXINFO FMOD_CREATESOUNDEXINFO; /* accepted, never read */

#define FMOD_VERSION 0x00040201u
#define FMOD_DEFAULT 0x00000000u
#define FMOD_INIT_NORMAL 0x00000000u
#define FMOD_CHANNEL_FREE (-1)  /* any free effect channel; the oldest effect makes way */
#define FMOD_CHANNEL_REUSE (-2) /* the one music channel: a new sound replaces the old */

/* Receives the library's own notes: which file failed to load and why, or that no audio
   device opened. Set once, before the system is created; null turns the notes off. */
typedef void (*FMOD_DEBUG_CALLBACK)(const char* message);
void FMOD_Debug_SetCallback(FMOD_DEBUG_CALLBACK callback);

FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system);
FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM* system, unsigned int* version);
FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxChannels, FMOD_INITFLAGS flags,
                             void* extraDriverData);
FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM* system, const char* nameOrData, FMOD_MODE mode,
                                    FMOD_CREATESOUNDEXINFO* exInfo, FMOD_SOUND** sound);
FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelId,
                                  FMOD_SOUND* sound, FMOD_BOOL paused, FMOD_CHANNEL** channel);
FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* channel, FMOD_BOOL paused);
FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound);
/* Closes the output; the system can be initialised again. */
FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM* system);
/* Closes the output if it is open and frees the system object. */
FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system);
const char* FMOD_ErrorString(FMOD_RESULT result);
