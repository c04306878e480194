int rt_placeholder;
