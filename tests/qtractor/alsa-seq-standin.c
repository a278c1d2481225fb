/* Preloaded into Qtractor on a machine without /dev/snd (a build or test
 * machine): the ALSA sequencer opens and is empty, with no clients, ports or
 * events, so Qtractor's audio engine and plug-ins run without MIDI. Only the
 * calls that need the device are replaced; the size and field helpers stay
 * libasound's. */
#include <errno.h>

/* The stand-ins take the real calls' parameters and use none of them. */
#pragma GCC diagnostic ignored "-Wunused-parameter"

typedef struct snd_seq snd_seq_t;
static int standin_handle;

int snd_seq_open(snd_seq_t** handle, const char* name, int streams, int mode)
{
    *handle = (snd_seq_t*)&standin_handle;
    return 0;
}

/* Calls that succeed and do nothing. */
#define SUCCEEDS(name, ...) int name(snd_seq_t* seq, __VA_ARGS__) { return 0; }
/* Queries that find nothing. */
#define FINDS_NOTHING(name, ...) int name(snd_seq_t* seq, __VA_ARGS__) { return -ENOENT; }

int snd_seq_close(snd_seq_t* seq) { return 0; }
int snd_seq_client_id(snd_seq_t* seq) { return 128; }
int snd_seq_alloc_queue(snd_seq_t* seq) { return 0; }
int snd_seq_drain_output(snd_seq_t* seq) { return 0; }
int snd_seq_drop_output(snd_seq_t* seq) { return 0; }
int snd_seq_drop_input(snd_seq_t* seq) { return 0; }
int snd_seq_event_input(snd_seq_t* seq, void** ev) { return -EAGAIN; }
SUCCEEDS(snd_seq_set_client_name, const char* n)
SUCCEEDS(snd_seq_create_simple_port, const char* n, unsigned caps, unsigned type)
SUCCEEDS(snd_seq_delete_simple_port, int port)
SUCCEEDS(snd_seq_free_queue, int q)
SUCCEEDS(snd_seq_poll_descriptors_count, short events)
SUCCEEDS(snd_seq_poll_descriptors, void* pfds, unsigned space, short events)
SUCCEEDS(snd_seq_event_input_pending, int fetch)
SUCCEEDS(snd_seq_event_output, void* ev)
SUCCEEDS(snd_seq_event_output_direct, void* ev)
SUCCEEDS(snd_seq_control_queue, int q, int type, int value, void* ev)
SUCCEEDS(snd_seq_get_queue_status, int q, void* status)
SUCCEEDS(snd_seq_get_queue_tempo, int q, void* tempo)
SUCCEEDS(snd_seq_set_queue_tempo, int q, void* tempo)
SUCCEEDS(snd_seq_set_queue_timer, int q, void* timer)
SUCCEEDS(snd_seq_get_port_info, int port, void* info)
SUCCEEDS(snd_seq_set_port_info, int port, void* info)
SUCCEEDS(snd_seq_subscribe_port, void* sub)
SUCCEEDS(snd_seq_unsubscribe_port, void* sub)
SUCCEEDS(snd_seq_remove_events, void* which)
FINDS_NOTHING(snd_seq_query_next_client, void* info)
FINDS_NOTHING(snd_seq_query_next_port, void* info)
FINDS_NOTHING(snd_seq_query_port_subscribers, void* subs)
FINDS_NOTHING(snd_seq_get_any_client_info, int client, void* info)
FINDS_NOTHING(snd_seq_get_any_port_info, int client, int port, void* info)
