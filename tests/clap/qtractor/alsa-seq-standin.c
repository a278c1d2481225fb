/* SPDX-License-Identifier: GPL-3.0-or-later */
/* Preloaded into Qtractor on a machine without /dev/snd: the ALSA sequencer
 * opens and is empty (no clients, no ports, no events), so Qtractor's audio
 * engine and plug-ins run without MIDI. Only the calls that need a device
 * are replaced; the sizeof and field helpers stay libasound's. */
#include <errno.h>

typedef struct snd_seq snd_seq_t;
static int standin_handle;

int snd_seq_open(snd_seq_t** handle, const char* name, int streams, int mode)
{
    (void)name; (void)streams; (void)mode;
    *handle = (snd_seq_t*)&standin_handle;
    return 0;
}

int snd_seq_close(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_client_id(snd_seq_t* seq) { (void)seq; return 128; }
int snd_seq_set_client_name(snd_seq_t* seq, const char* name) { (void)seq; (void)name; return 0; }
int snd_seq_create_simple_port(snd_seq_t* seq, const char* name, unsigned caps, unsigned type)
{
    (void)seq; (void)name; (void)caps; (void)type;
    return 0;
}
int snd_seq_delete_simple_port(snd_seq_t* seq, int port) { (void)seq; (void)port; return 0; }
int snd_seq_alloc_queue(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_free_queue(snd_seq_t* seq, int q) { (void)seq; (void)q; return 0; }
int snd_seq_poll_descriptors_count(snd_seq_t* seq, short events) { (void)seq; (void)events; return 0; }
int snd_seq_poll_descriptors(snd_seq_t* seq, void* pfds, unsigned space, short events)
{
    (void)seq; (void)pfds; (void)space; (void)events;
    return 0;
}
int snd_seq_event_input(snd_seq_t* seq, void** ev) { (void)seq; (void)ev; return -EAGAIN; }
int snd_seq_event_input_pending(snd_seq_t* seq, int fetch) { (void)seq; (void)fetch; return 0; }
int snd_seq_event_output(snd_seq_t* seq, void* ev) { (void)seq; (void)ev; return 0; }
int snd_seq_event_output_direct(snd_seq_t* seq, void* ev) { (void)seq; (void)ev; return 0; }
int snd_seq_drain_output(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_drop_output(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_drop_input(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_control_queue(snd_seq_t* seq, int q, int type, int value, void* ev)
{
    (void)seq; (void)q; (void)type; (void)value; (void)ev;
    return 0;
}
int snd_seq_get_queue_status(snd_seq_t* seq, int q, void* status) { (void)seq; (void)q; (void)status; return 0; }
int snd_seq_get_queue_tempo(snd_seq_t* seq, int q, void* tempo) { (void)seq; (void)q; (void)tempo; return 0; }
int snd_seq_set_queue_tempo(snd_seq_t* seq, int q, void* tempo) { (void)seq; (void)q; (void)tempo; return 0; }
int snd_seq_set_queue_timer(snd_seq_t* seq, int q, void* timer) { (void)seq; (void)q; (void)timer; return 0; }
int snd_seq_query_next_client(snd_seq_t* seq, void* info) { (void)seq; (void)info; return -ENOENT; }
int snd_seq_query_next_port(snd_seq_t* seq, void* info) { (void)seq; (void)info; return -ENOENT; }
int snd_seq_query_port_subscribers(snd_seq_t* seq, void* subs) { (void)seq; (void)subs; return -ENOENT; }
int snd_seq_get_any_client_info(snd_seq_t* seq, int client, void* info)
{
    (void)seq; (void)client; (void)info;
    return -ENOENT;
}
int snd_seq_get_any_port_info(snd_seq_t* seq, int client, int port, void* info)
{
    (void)seq; (void)client; (void)port; (void)info;
    return -ENOENT;
}
int snd_seq_get_port_info(snd_seq_t* seq, int port, void* info) { (void)seq; (void)port; (void)info; return 0; }
int snd_seq_set_port_info(snd_seq_t* seq, int port, void* info) { (void)seq; (void)port; (void)info; return 0; }
int snd_seq_subscribe_port(snd_seq_t* seq, void* sub) { (void)seq; (void)sub; return 0; }
int snd_seq_unsubscribe_port(snd_seq_t* seq, void* sub) { (void)seq; (void)sub; return 0; }
int snd_seq_remove_events(snd_seq_t* seq, void* spec) { (void)seq; (void)spec; return 0; }
